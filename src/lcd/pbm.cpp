#include "lcd/pbm.h"

#include "platform/file_system.h"

namespace lorvan::lcd {
namespace {

constexpr int kMaxSide = 4096;

class PbmReader {
 public:
  PbmReader(std::string_view bytes, const std::string& name) : b_(bytes), name_(name) {}

  [[noreturn]] void Fail(const std::string& what) const { FailAt(line_, what); }

  // At the end of the file: the file's last line, not the empty one after its line end.
  [[noreturn]] void FailAtEnd(const std::string& what) const {
    FailAt(!b_.empty() && b_.back() == '\n' && line_ > 1 ? line_ - 1 : line_, what);
  }

  [[noreturn]] void FailAt(int line, const std::string& what) const {
    throw platform::FileError(name_ + ", line " + std::to_string(line) + ": " + what);
  }

  // Skips white space and comments; false at the end of the file.
  bool SkipSpace() {
    while (pos_ < b_.size()) {
      const char c = b_[pos_];
      if (c == '\n') {
        ++line_;
        ++pos_;
      } else if (c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f') {
        ++pos_;
      } else if (c == '#') {
        while (pos_ < b_.size() && b_[pos_] != '\n') ++pos_;
      } else {
        return true;
      }
    }
    return false;
  }

  std::string_view Token() {
    if (!SkipSpace()) FailAtEnd("the file ends before its header is complete");
    const size_t start = pos_;
    while (pos_ < b_.size() && !IsSpace(b_[pos_]) && b_[pos_] != '#') ++pos_;
    return b_.substr(start, pos_ - start);
  }

  int Side(const char* what) {
    const std::string_view t = Token();
    int v = 0;
    for (char c : t) {
      if (c < '0' || c > '9' || v > kMaxSide) Fail(std::string("the ") + what + " \"" + std::string(t) + "\" is not a number from 1 to 4096");
      v = v * 10 + (c - '0');
    }
    if (v < 1 || v > kMaxSide) Fail(std::string("the ") + what + " \"" + std::string(t) + "\" is not a number from 1 to 4096");
    return v;
  }

  // The next pixel digit.
  bool Pixel(int index, int total) {
    if (!SkipSpace()) FailAtEnd("the file ends after " + std::to_string(index) + " of " + std::to_string(total) + " pixels");
    const char c = b_[pos_++];
    if (c != '0' && c != '1') Fail(std::string("\"") + c + "\" is no pixel (0 or 1)");
    return c == '1';
  }

  bool AtEnd() { return !SkipSpace(); }

 private:
  static bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }
  std::string_view b_;
  const std::string& name_;
  size_t pos_ = 0;
  int line_ = 1;
};

}  // namespace

Picture ParsePbm(std::string_view bytes, const std::string& name) {
  PbmReader r(bytes, name);
  if (r.Token() != "P1") r.Fail("not a plain PBM bitmap (it must start with P1)");
  const int width = r.Side("width");
  const int height = r.Side("height");
  Picture p(width, height);
  const int total = width * height;
  for (int i = 0; i < total; ++i) {
    if (r.Pixel(i, total)) p.PSet(i % width, i / width, kBlack);
  }
  if (!r.AtEnd()) r.Fail("more pixels than " + std::to_string(width) + " x " + std::to_string(height));
  return p;
}

std::string WritePbm(const Picture& picture, const std::vector<std::string>& comments) {
  std::string out = "P1\n";
  for (const auto& c : comments) out += "# " + c + "\n";
  out += std::to_string(picture.Width()) + " " + std::to_string(picture.Height()) + "\n";
  for (int y = 0; y < picture.Height(); ++y) {
    for (int x = 0; x < picture.Width(); ++x) out += IsSetPixel(picture.Point(x, y)) ? '1' : '0';
    out += '\n';
  }
  return out;
}

}  // namespace lorvan::lcd
