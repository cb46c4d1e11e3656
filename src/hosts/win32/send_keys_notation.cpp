#include "hosts/win32/send_keys_notation.h"

#include <cctype>
#include <map>

namespace lorvan::win32 {
namespace {

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// The named keys of the notation.
const std::map<std::string, uint8_t>& NamedKeys() {
  static const std::map<std::string, uint8_t> keys = [] {
    std::map<std::string, uint8_t> k = {
        {"BACKSPACE", kVkBack}, {"BS", kVkBack}, {"BKSP", kVkBack}, {"BREAK", kVkPause},
        {"CAPSLOCK", kVkCapital}, {"DELETE", kVkDelete}, {"DEL", kVkDelete}, {"DOWN", kVkDown},
        {"END", kVkEnd}, {"ENTER", kVkReturn}, {"ESC", kVkEscape}, {"HELP", kVkHelp}, {"HOME", kVkHome},
        {"INSERT", kVkInsert}, {"INS", kVkInsert}, {"LEFT", kVkLeft}, {"NUMLOCK", kVkNumLock},
        {"PGDN", kVkNext}, {"PGUP", kVkPrior}, {"PRTSC", kVkSnapshot}, {"RIGHT", kVkRight},
        {"SCROLLLOCK", kVkScroll}, {"TAB", kVkTab}, {"UP", kVkUp},
    };
    for (int n = 1; n <= 16; ++n) k["F" + std::to_string(n)] = static_cast<uint8_t>(kVkF1 + n - 1);
    return k;
  }();
  return keys;
}

class Parser {
 public:
  explicit Parser(const std::string& text) : text_(text) {}

  std::vector<KeyStep> Run() {
    while (pos_ < text_.size()) Item(/*in_group=*/false);
    return std::move(out_);
  }

 private:
  [[noreturn]] void Fail(const std::string& why) const {
    throw KeyNotationError("key notation \"" + text_ + "\": " + why);
  }

  // One key, group or modified key; modifiers apply to what follows them.
  void Item(bool in_group) {
    const char c = text_[pos_];
    if (c == '+' || c == '^' || c == '%') {
      const uint8_t vk = c == '+' ? kVkShift : c == '^' ? kVkControl : kVkMenu;
      ++pos_;
      if (pos_ >= text_.size()) Fail("a modifier at the end has no key to modify");
      out_.push_back({KeyStep::kKeyDown, vk, 0});
      Item(in_group);
      out_.push_back({KeyStep::kKeyUp, vk, 0});
      return;
    }
    if (c == '(') {
      ++pos_;
      while (pos_ < text_.size() && text_[pos_] != ')') Item(/*in_group=*/true);
      if (pos_ >= text_.size()) Fail("a group in parentheses is not closed");
      ++pos_;
      return;
    }
    if (c == ')' && !in_group) Fail("a closing parenthesis without an opening one");
    if (c == '{') {
      Braced();
      return;
    }
    if (c == '}') Fail("a closing brace without an opening one");
    ++pos_;
    if (c == '~') {
      Press(kVkReturn);
    } else {
      out_.push_back({KeyStep::kCharacter, 0, c});
    }
  }

  // "{NAME}", "{NAME n}", or a braced special character such as "{+}" or "{}}".
  void Braced() {
    size_t close = text_.find('}', pos_ + 2);  // "{}}" names the closing brace itself
    if (pos_ + 1 < text_.size() && text_[pos_ + 1] != '}') close = text_.find('}', pos_ + 1);
    if (close == std::string::npos) Fail("a brace is not closed");
    std::string inner = text_.substr(pos_ + 1, close - pos_ - 1);
    pos_ = close + 1;
    int count = 1;
    const size_t space = inner.rfind(' ');
    if (space != std::string::npos && space > 0) {
      const std::string n = inner.substr(space + 1);
      if (n.empty() || n.find_first_not_of("0123456789") != std::string::npos || n.size() > 3) {
        Fail("\"{" + inner + "}\" has no valid repeat count");
      }
      count = std::stoi(n);
      inner = inner.substr(0, space);
    }
    if (inner.size() == 1) {
      // A braced single character is typed as itself ("{+}", "{~}", "{%}").
      for (int i = 0; i < count; ++i) out_.push_back({KeyStep::kCharacter, 0, inner[0]});
      return;
    }
    const auto& named = NamedKeys();
    const auto it = named.find(Upper(inner));
    if (it == named.end()) Fail("unknown key name \"" + inner + "\"");
    for (int i = 0; i < count; ++i) Press(it->second);
  }

  void Press(uint8_t vk) {
    out_.push_back({KeyStep::kKeyDown, vk, 0});
    out_.push_back({KeyStep::kKeyUp, vk, 0});
  }

  const std::string& text_;
  size_t pos_ = 0;
  std::vector<KeyStep> out_;
};

}  // namespace

std::vector<KeyStep> ParseSendKeys(const std::string& keys) { return Parser(keys).Run(); }

}  // namespace lorvan::win32
