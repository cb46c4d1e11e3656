#pragma once
#include <stdexcept>

namespace lorvan::app {

// Ends the start-up; the message names the file, the line and the problem where there is one.
class StartupError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace lorvan::app
