#pragma once
// The record of outside effects that `dump events` prints: one JSON object a line.
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace lorvan::sim {

using Json = nlohmann::ordered_json;

// Bytes that are not UTF-8 are replaced, so a dump never fails on a strange file name.
std::string JsonLine(const Json& j);

class SimEvents {
 public:
  void Add(Json event) { pending_.push_back(JsonLine(event)); }
  // The lines since the previous take.
  std::vector<std::string> Take() {
    auto out = std::move(pending_);
    pending_.clear();
    return out;
  }
  const std::vector<std::string>& Pending() const { return pending_; }

 private:
  std::vector<std::string> pending_;
};

}  // namespace lorvan::sim
