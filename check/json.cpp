#include "check/json.h"

#include "check/utf8_text.h"

namespace skervo {

const std::string Json::kEmpty;

namespace {

const Json kNull;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

int HexValue(char c) {
    if (IsDigit(c)) {
        return c - '0';
    }
    const char lower = static_cast<char>(c | 0x20);
    return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

void WriteString(std::string& out, std::string_view text) {
    constexpr char kDigits[] = "0123456789abcdef";
    out += '"';
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            out += "\\u00";
            out += kDigits[byte >> 4];
            out += kDigits[byte & 0xF];
        } else {
            out += c;
        }
    }
    out += '"';
}

}  // namespace

// Recursive descent over the text, one value at a time.
class JsonReader {
  public:
    explicit JsonReader(std::string_view text) : text_(text) {}

    std::optional<Json> Whole() {
        Json value;
        if (!Value(value, 0)) {
            return std::nullopt;
        }
        SkipBlanks();
        return at_ == text_.size() ? std::optional<Json>(std::move(value)) : std::nullopt;
    }

  private:
    void SkipBlanks() {
        while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t' ||
                                      text_[at_] == '\n' || text_[at_] == '\r')) {
            ++at_;
        }
    }

    bool Take(char c) {
        SkipBlanks();
        if (at_ < text_.size() && text_[at_] == c) {
            ++at_;
            return true;
        }
        return false;
    }

    bool Word(std::string_view word) {
        if (text_.substr(at_, word.size()) != word) {
            return false;
        }
        at_ += word.size();
        return true;
    }

    bool Value(Json& value, int depth) {
        SkipBlanks();
        if (at_ >= text_.size() || depth > kJsonDepthLimit) {
            return false;
        }
        switch (text_[at_]) {
            case '{':
                return ObjectValue(value, depth);
            case '[':
                return ArrayValue(value, depth);
            case '"':
                value.kind_ = Json::Kind::String;
                return StringValue(value.text_);
            case 't':
            case 'f':
                value.kind_ = Json::Kind::Boolean;
                value.text_ = text_[at_] == 't' ? "true" : "false";
                return Word(value.text_);
            case 'n':
                return Word("null");
            default:
                return NumberValue(value);
        }
    }

    bool ObjectValue(Json& value, int depth) {
        value.kind_ = Json::Kind::Object;
        ++at_;
        if (Take('}')) {
            return true;
        }
        do {
            std::string key;
            Json member;
            SkipBlanks();
            if (at_ >= text_.size() || text_[at_] != '"' || !StringValue(key) || !Take(':') ||
                !Value(member, depth + 1)) {
                return false;
            }
            // A key given twice is kept twice: the first one is read.
            value.members_.push_back({std::move(key), std::move(member)});
        } while (Take(','));
        return Take('}');
    }

    bool ArrayValue(Json& value, int depth) {
        value.kind_ = Json::Kind::Array;
        ++at_;
        if (Take(']')) {
            return true;
        }
        do {
            Json item;
            if (!Value(item, depth + 1)) {
                return false;
            }
            value.items_.push_back(std::move(item));
        } while (Take(','));
        return Take(']');
    }

    // -? (0 | [1-9][0-9]*) (. [0-9]+)? ([eE] [+-]? [0-9]+)?
    bool NumberValue(Json& value) {
        const std::size_t start = at_;
        at_ += text_[at_] == '-' ? 1 : 0;
        const std::size_t integer = at_;
        if (!Digits() || (text_[integer] == '0' && at_ - integer > 1)) {
            return false;
        }
        if (at_ < text_.size() && text_[at_] == '.' && (++at_, !Digits())) {
            return false;
        }
        if (at_ < text_.size() && (text_[at_] | 0x20) == 'e') {
            ++at_;
            at_ += at_ < text_.size() && (text_[at_] == '+' || text_[at_] == '-') ? 1 : 0;
            if (!Digits()) {
                return false;
            }
        }
        value.kind_ = Json::Kind::Number;
        value.text_ = text_.substr(start, at_ - start);
        return true;
    }

    bool Digits() {
        const std::size_t start = at_;
        while (at_ < text_.size() && IsDigit(text_[at_])) {
            ++at_;
        }
        return at_ > start;
    }

    // Four hexadecimal digits after \u.
    bool Hex4(char32_t& unit) {
        unit = 0;
        for (int k = 0; k < 4; ++k) {
            const int digit = at_ < text_.size() ? HexValue(text_[at_++]) : -1;
            if (digit < 0) {
                return false;
            }
            unit = unit * 16 + static_cast<char32_t>(digit);
        }
        return true;
    }

    // \uD83D\uDE00 is one character; a surrogate without its other half is U+FFFD.
    bool Escaped(std::string& out) {
        constexpr std::string_view kFrom = "\"\\/bfnrt";
        constexpr std::string_view kTo = "\"\\/\b\f\n\r\t";
        const char c = text_[at_++];
        if (const std::size_t simple = kFrom.find(c); simple != std::string_view::npos) {
            out += kTo[simple];
            return true;
        }
        char32_t unit = 0;
        if (c != 'u' || !Hex4(unit)) {
            return false;
        }
        if (unit >= 0xD800 && unit <= 0xDBFF && text_.substr(at_, 2) == "\\u") {
            const std::size_t back = at_;
            at_ += 2;
            char32_t low = 0;
            if (!Hex4(low)) {
                return false;
            }
            if (low >= 0xDC00 && low <= 0xDFFF) {
                unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
            } else {
                at_ = back;
            }
        }
        AppendUtf8(out, unit);  // a lone surrogate is written as U+FFFD
        return true;
    }

    bool StringValue(std::string& out) {
        ++at_;
        while (at_ < text_.size()) {
            const auto byte = static_cast<unsigned char>(text_[at_]);
            if (byte == '"') {
                ++at_;
                return true;
            }
            if (byte < 0x20) {
                return false;
            }
            if (byte == '\\') {
                ++at_;
                if (at_ >= text_.size() || !Escaped(out)) {
                    return false;
                }
            } else {
                const CodePoint c = DecodeUtf8At(text_, at_);
                AppendUtf8(out, c.value);
                at_ += c.length;
            }
        }
        return false;
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

const Json& Json::operator[](std::string_view key) const {
    for (const Member& member : members_) {
        if (member.key == key) {
            return member.value;
        }
    }
    return kNull;
}

bool Json::Has(std::string_view key) const {
    for (const Member& member : members_) {
        if (member.key == key) {
            return true;
        }
    }
    return false;
}

std::optional<std::int64_t> Json::Integer() const {
    // Eighteen digits cannot overflow.
    const std::size_t digits = text_.size() - (text_.starts_with('-') ? 1 : 0);
    if (kind_ != Kind::Number || text_.find_first_of(".eE") != std::string::npos || digits > 18) {
        return std::nullopt;
    }
    std::int64_t value = 0;
    for (const char c : text_) {
        value = c == '-' ? value : value * 10 + (c - '0');
    }
    return text_[0] == '-' ? -value : value;
}

void Json::WriteTo(std::string& out) const {
    switch (kind_) {
        case Kind::Null:
            out += "null";
            break;
        case Kind::Boolean:
        case Kind::Number:
            out += text_;
            break;
        case Kind::String:
            WriteString(out, text_);
            break;
        case Kind::Array:
            out += '[';
            for (std::size_t i = 0; i < items_.size(); ++i) {
                out += i ? "," : "";
                items_[i].WriteTo(out);
            }
            out += ']';
            break;
        case Kind::Object:
            out += '{';
            for (std::size_t i = 0; i < members_.size(); ++i) {
                out += i ? "," : "";
                WriteString(out, members_[i].key);
                out += ':';
                members_[i].value.WriteTo(out);
            }
            out += '}';
            break;
    }
}

std::optional<Json> ParseJson(std::string_view text) {
    return JsonReader(text).Whole();
}

void JsonText::BeforeValue() {
    if (!first_) {
        out_ += ',';
    }
    first_ = false;
}

JsonText& JsonText::Open(char bracket) {
    BeforeValue();
    out_ += bracket;
    first_ = true;
    return *this;
}

JsonText& JsonText::Close(char bracket) {
    out_ += bracket;
    first_ = false;
    return *this;
}

JsonText& JsonText::Key(std::string_view key) {
    BeforeValue();
    WriteString(out_, key);
    out_ += ':';
    first_ = true;
    return *this;
}

JsonText& JsonText::String(std::string_view text) {
    BeforeValue();
    WriteString(out_, text);
    return *this;
}

JsonText& JsonText::Number(std::int64_t value) {
    return Written(std::to_string(value));
}

JsonText& JsonText::Boolean(bool value) {
    return Written(value ? "true" : "false");
}

JsonText& JsonText::Null() {
    return Written("null");
}

JsonText& JsonText::Value(const Json& value) {
    BeforeValue();
    value.WriteTo(out_);
    return *this;
}

JsonText& JsonText::Written(std::string_view json) {
    BeforeValue();
    out_ += json;
    return *this;
}

}  // namespace skervo
