#pragma once
// JSON as the language server reads and writes it, without exceptions: a
// value read from a message, and a writer that writes an answer as it goes.
// Strings are UTF-8. A number keeps its text, so that a request's id goes
// back exactly as it came.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace skervo {

class Json {
  public:
    enum class Kind { Null, Boolean, Number, String, Array, Object };
    struct Member;

    Kind kind() const { return kind_; }
    bool IsNull() const { return kind_ == Kind::Null; }
    // The member of that name, or a null value when there is none.
    const Json& operator[](std::string_view key) const;
    bool Has(std::string_view key) const;
    const std::vector<Json>& Items() const { return items_; }
    // A string's text; empty for any other kind.
    const std::string& Text() const { return kind_ == Kind::String ? text_ : kEmpty; }
    // A number without a fraction or an exponent, within 64 bits.
    std::optional<std::int64_t> Integer() const;
    // The value as JSON text.
    void WriteTo(std::string& out) const;

  private:
    friend class JsonReader;
    static const std::string kEmpty;

    Kind kind_ = Kind::Null;
    std::string text_;  // a string's, a number's or a boolean's
    std::vector<Json> items_;
    std::vector<Member> members_;
};

struct Json::Member {
    std::string key;
    Json value;
};

// Nesting deeper than this is refused, so that no text exhausts the stack.
inline constexpr int kJsonDepthLimit = 64;

// nullopt when the text is not one JSON value. Bytes that are not UTF-8
// inside a string become U+FFFD, as does a lone surrogate.
std::optional<Json> ParseJson(std::string_view text);

// JSON text written in order: each value after a key or in an array, the
// commas put in between.
class JsonText {
  public:
    JsonText& Open(char bracket);  // { or [
    JsonText& Close(char bracket);
    JsonText& Key(std::string_view key);
    JsonText& String(std::string_view text);
    JsonText& Number(std::int64_t value);
    JsonText& Boolean(bool value);
    JsonText& Null();
    JsonText& Value(const Json& value);
    // A value already written as JSON.
    JsonText& Written(std::string_view json);
    const std::string& Text() const { return out_; }

  private:
    void BeforeValue();

    std::string out_;
    bool first_ = true;  // nothing yet in the object or array under way, or a key just written
};

}  // namespace skervo
