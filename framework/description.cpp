#include "framework/description.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>

#include "framework/embedded_resources.h"

namespace {

class Parser {
 public:
  Parser(const std::string& text, const TIncludeResolver& include) : s_(text), include_(include) {}

  TDescriptionObject parseRoot() {
    TDescriptionObject root = parseObject();
    skipSpace();
    if (pos_ < s_.size()) fail("text after the final end");
    return root;
  }

 private:
  [[noreturn]] void fail(const std::string& what) const {
    throw EReadError(Format("Error reading description, line %d: %s", line_, what));
  }

  void skipSpace() {
    while (pos_ < s_.size()) {
      const char c = s_[pos_];
      if (c == '\n') {
        ++line_;
        ++pos_;
      } else if (c == ' ' || c == '\t' || c == '\r') {
        ++pos_;
      } else if (c == '/' && pos_ + 1 < s_.size() && s_[pos_ + 1] == '/') {
        while (pos_ < s_.size() && s_[pos_] != '\n') ++pos_;
      } else {
        break;
      }
    }
  }

  bool peek(char c) {
    skipSpace();
    return pos_ < s_.size() && s_[pos_] == c;
  }

  void expect(char c) {
    if (!peek(c)) fail(Format("'%c' expected", c));
    ++pos_;
  }

  static bool identChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_' || c == '.';
  }

  std::string identifier() {
    skipSpace();
    const size_t start = pos_;
    if (pos_ >= s_.size() ||
        !(std::isalpha(static_cast<unsigned char>(s_[pos_])) || s_[pos_] == '_')) {
      fail("identifier expected");
    }
    while (pos_ < s_.size() && identChar(s_[pos_])) ++pos_;
    return s_.substr(start, pos_ - start);
  }

  bool keyword(const char* word) {
    skipSpace();
    const std::string w(word);
    if (s_.compare(pos_, w.size(), w) != 0) return false;
    const size_t after = pos_ + w.size();
    if (after < s_.size() && identChar(s_[after])) return false;
    pos_ = after;
    return true;
  }

  TDescriptionObject parseObject() {
    if (!keyword("object")) fail("'object' expected");
    TDescriptionObject obj;
    obj.line = line_;
    obj.name = identifier();
    expect(':');
    obj.className = identifier();
    while (true) {
      skipSpace();
      if (pos_ >= s_.size()) fail("'end' expected");
      if (keyword("end")) break;
      if (keyword("object")) {
        pos_ -= 6;
        obj.children.push_back(parseObject());
        continue;
      }
      const int line = line_;
      TStoredProperty prop;
      prop.name = identifier();
      expect('=');
      prop.value = parseValue();
      obj.properties.push_back(std::move(prop));
      obj.propertyLines.push_back(line);
    }
    return obj;
  }

  TPropertyValue parseValue() {
    skipSpace();
    if (pos_ >= s_.size()) fail("value expected");
    const char c = s_[pos_];
    TPropertyValue v;
    if (c == '\'') {
      v.kind = TPropertyValue::Kind::String;
      v.text = parseString();
      while (peek('+')) {
        ++pos_;
        skipSpace();
        if (pos_ >= s_.size() || s_[pos_] != '\'') fail("string expected after '+'");
        v.text += parseString();
      }
    } else if (c == '[') {
      ++pos_;
      v.kind = TPropertyValue::Kind::Set;
      if (!peek(']')) {
        v.set.push_back(identifier());
        while (peek(',')) {
          ++pos_;
          v.set.push_back(identifier());
        }
      }
      expect(']');
    } else if (c == '{') {
      ++pos_;
      v.kind = TPropertyValue::Kind::Binary;
      parseBytes(v.bytes);
    } else if (c == '<') {
      ++pos_;
      v.kind = TPropertyValue::Kind::Collection;
      while (!peek('>')) {
        if (!keyword("item")) fail("'item' or '>' expected");
        std::vector<TStoredProperty> item;
        while (!keyword("end")) {
          skipSpace();
          if (pos_ >= s_.size()) fail("'end' expected");
          TStoredProperty prop;
          prop.name = identifier();
          expect('=');
          prop.value = parseValue();
          item.push_back(std::move(prop));
        }
        v.items.push_back(std::move(item));
      }
      ++pos_;
    } else if (c == '-' || c == '+' || c == '$' || std::isdigit(static_cast<unsigned char>(c))) {
      parseNumber(v);
    } else {
      v.kind = TPropertyValue::Kind::Identifier;
      v.text = identifier();
    }
    return v;
  }

  std::string parseString() {
    ++pos_;  // opening quote
    std::string out;
    while (true) {
      if (pos_ >= s_.size() || s_[pos_] == '\n') fail("unterminated string");
      if (s_[pos_] == '\'') {
        if (pos_ + 1 < s_.size() && s_[pos_ + 1] == '\'') {
          out += '\'';
          pos_ += 2;
          continue;
        }
        ++pos_;
        return out;
      }
      out += s_[pos_++];
    }
  }

  void parseNumber(TPropertyValue& v) {
    const size_t start = pos_;
    bool negative = false;
    if (s_[pos_] == '-' || s_[pos_] == '+') {
      negative = s_[pos_] == '-';
      ++pos_;
    }
    if (pos_ < s_.size() && s_[pos_] == '$') {
      ++pos_;
      const size_t digits = pos_;
      while (pos_ < s_.size() && std::isxdigit(static_cast<unsigned char>(s_[pos_]))) ++pos_;
      if (pos_ == digits || pos_ - digits > 16) fail("hexadecimal number expected");
      const uint64_t u = std::strtoull(s_.substr(digits, pos_ - digits).c_str(), nullptr, 16);
      v.kind = TPropertyValue::Kind::Integer;
      v.integer = negative ? -static_cast<int64_t>(u) : static_cast<int64_t>(u);
      return;
    }
    bool isFloat = false;
    const size_t digits = pos_;
    while (pos_ < s_.size() && (std::isdigit(static_cast<unsigned char>(s_[pos_])) ||
                                s_[pos_] == '.' || s_[pos_] == 'e' || s_[pos_] == 'E' ||
                                ((s_[pos_] == '-' || s_[pos_] == '+') &&
                                 (s_[pos_ - 1] == 'e' || s_[pos_ - 1] == 'E')))) {
      if (!std::isdigit(static_cast<unsigned char>(s_[pos_]))) isFloat = true;
      ++pos_;
    }
    if (pos_ == digits) fail("number expected");
    const std::string text = s_.substr(start, pos_ - start);
    char* end = nullptr;
    if (isFloat) {
      v.kind = TPropertyValue::Kind::Float;
      v.number = std::strtod(text.c_str(), &end);
      if (*end != '\0' || !std::isfinite(v.number)) fail("bad number " + text);
    } else {
      v.kind = TPropertyValue::Kind::Integer;
      errno = 0;
      v.integer = std::strtoll(text.c_str(), &end, 10);
      if (*end != '\0' || errno == ERANGE) fail("bad number " + text);
    }
  }

  static int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  }

  void parseBytes(std::vector<uint8_t>& out) {
    while (true) {
      skipSpace();
      if (pos_ >= s_.size()) fail("'}' expected");
      const char c = s_[pos_];
      if (c == '}') {
        ++pos_;
        return;
      }
      if (c == '@') {
        ++pos_;
        const size_t start = pos_;
        while (pos_ < s_.size() && !std::isspace(static_cast<unsigned char>(s_[pos_])) &&
               s_[pos_] != '}')
          ++pos_;
        const std::string name = s_.substr(start, pos_ - start);
        std::optional<std::vector<uint8_t>> data = include_ ? include_(name) : std::nullopt;
        if (!data) fail("included file " + name + " not found");
        out.insert(out.end(), data->begin(), data->end());
        continue;
      }
      const int hi = hexValue(c);
      const int lo = pos_ + 1 < s_.size() ? hexValue(s_[pos_ + 1]) : -1;
      if (hi < 0 || lo < 0) fail("hexadecimal byte expected");
      out.push_back(static_cast<uint8_t>(hi * 16 + lo));
      pos_ += 2;
    }
  }

  const std::string& s_;
  const TIncludeResolver& include_;
  size_t pos_ = 0;
  int line_ = 1;
};

void markLoading(TComponent& c) { c.ComponentState |= csLoading; }

void readObject(const TDescriptionObject& obj, TComponent& target, TComponent& root,
                TComponentFactory& factory, std::vector<TComponent*>& created) {
  for (size_t i = 0; i < obj.properties.size(); ++i) {
    const TStoredProperty& p = obj.properties[i];
    try {
      target.SetStoredProperty(p.name, p.value);
    } catch (const EReadError& e) {
      throw EReadError(Format("Error reading %s.%s: %s", obj.name, p.name, e.Message()));
    } catch (const Exception& e) {
      throw EReadError(Format("Error reading %s.%s: %s", obj.name, p.name, e.Message()));
    }
  }
  for (const TDescriptionObject& child : obj.children) {
    if (root.FindComponent(child.name) != nullptr) {
      throw EReadError(Format("A component named %s already exists", child.name));
    }
    TComponent* c = factory.CreateStoredComponent(child.className, &target);
    if (c == nullptr) throw EReadError(Format("Class %s not found", child.className));
    c->Name = child.name;
    markLoading(*c);
    created.push_back(c);
    readObject(child, *c, root, factory, created);
  }
}

}  // namespace

std::optional<std::vector<uint8_t>> EmbeddedInclude(const std::string& name) {
  const EmbeddedResource* r = FindEmbeddedResource(name);
  if (r == nullptr) return std::nullopt;
  return std::vector<uint8_t>(r->data, r->data + r->size);
}

TDescriptionObject ParseDescription(const std::string& text, const TIncludeResolver& include) {
  Parser parser(text, include);
  return parser.parseRoot();
}

void ReadDescription(const TDescriptionObject& description, TComponent& root,
                     TComponentFactory& factory) {
  if (root.ClassName() != description.className) {
    throw EReadError(Format("Error reading %s: class %s expected, %s found", description.name,
                            root.ClassName(), description.className));
  }
  std::vector<TComponent*> created{&root};
  markLoading(root);
  if (root.Name.empty()) root.Name = description.name;
  try {
    readObject(description, root, root, factory, created);
  } catch (...) {
    for (TComponent* c : created) c->ComponentState &= ~static_cast<uint32_t>(csLoading);
    throw;
  }
  for (TComponent* c : created) c->Loaded();
}

TDescriptionObject LoadEmbeddedDescription(const std::string& resourceName) {
  const EmbeddedResource* r = FindEmbeddedResource(resourceName);
  if (r == nullptr) throw EReadError(Format("Resource %s not found", resourceName));
  return ParseDescription(std::string(reinterpret_cast<const char*>(r->data), r->size));
}
