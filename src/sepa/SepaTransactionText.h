// The text of one transaction of a SEPA document, made apart from libxml2's
// text writer and handed to it in one piece.
#pragma once

#include <libxml/entities.h>
#include <libxml/xmlmemory.h>

#include <algorithm>
#include <array>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <vector>

namespace zor::detail {

// Whether a text needs libxml2's escaping: a byte per character, so that the
// common text without any is one look-up per character.
constexpr std::array<bool, 256> kNeedsEscaping = [] {
  std::array<bool, 256> needs{};
  for (const char c : std::string_view("<>&\"\r")) needs[static_cast<unsigned char>(c)] = true;
  return needs;
}();

// Escaped by libxml2's own function, the one its text writer uses for text;
// almost no text needs it, so the others skip the copy.
inline void AppendXmlEscaped(std::string& text, std::string_view content) {
  const auto needs = [](char c) { return kNeedsEscaping[static_cast<unsigned char>(c)]; };
  if (std::none_of(content.begin(), content.end(), needs)) {
    text += content;
    return;
  }
  struct FreeXml {
    void operator()(xmlChar* p) const { xmlFree(p); }
  };
  const std::string value(content);
  std::unique_ptr<xmlChar, FreeXml> escaped(xmlEncodeSpecialChars(nullptr, BAD_CAST value.c_str()));
  if (!escaped) throw std::bad_alloc();
  text += reinterpret_cast<const char*>(escaped.get());
}

// One transaction, its start and end tag included, made as text and handed to
// the text writer in one piece: its bookkeeping per element (a list entry, the
// indentation written blank by blank) cost most of the time of a large
// document. The bytes are those it makes itself: one element a line, indented
// two blanks a level, text escaped by the function xmlTextWriterWriteString uses.
//
// Apart from its values, a transaction's text depends only on which of its
// optional parts it has, its shape. The first transaction of a shape is made
// element by element and the text between its values kept; the others are
// that text with their values put between. A transaction that carries more
// than the common parts (kUnshaped) is made element by element every time.
class TransactionBody {
 public:
  // Document, the initiation and PmtInf are open around a transaction.
  static constexpr std::size_t kTransactionDepth = 3;
  static constexpr std::size_t kShapes = 8;
  static constexpr std::size_t kUnshaped = kShapes;

  // `shape` up to kUnshaped; the same shape must make the same elements.
  void Begin(std::size_t shape, std::string_view name) {
    text.clear();
    pieces = &shapes[shape];
    recording = shape == kUnshaped || !known[shape];
    next = 0;
    if (!recording) return;
    current = shape;
    pieces->clear();  // what a transaction that failed midway left
    cut = 0;
    depth = kTransactionDepth;
    Start(name);
  }
  void Start(std::string_view name) {
    if (!recording) return;
    Indent();
    text += '<';
    text += name;
    text += ">\n";
    open[depth++ - kTransactionDepth] = name;
  }
  void End() {
    if (!recording) return;
    --depth;
    Indent();
    text += "</";
    text += open[depth - kTransactionDepth];
    text += ">\n";
  }
  // `attribute` is written as it stands.
  void Element(std::string_view name, std::string_view content, std::string_view attribute = {}) {
    Put(name, content, attribute, true);
  }
  // Content the checks left without a character XML escapes: references,
  // codes, IBAN, BIC, amounts and dates. Only names and texts need the look.
  void PlainElement(std::string_view name, std::string_view content,
                    std::string_view attribute = {}) {
    Put(name, content, attribute, false);
  }
  // The transaction's text, its end tag written.
  const std::string& Finished() {
    if (!recording) {
      text += (*pieces)[next];
      return text;
    }
    End();
    Cut();
    if (current != kUnshaped) known[current] = true;
    return text;
  }

 private:
  void Put(std::string_view name, std::string_view content, std::string_view attribute,
           bool escape) {
    if (!recording) {
      text += (*pieces)[next++];
      Content(content, escape);
      return;
    }
    Indent();
    text += '<';
    text += name;
    text += attribute;
    text += '>';
    Cut();
    Content(content, escape);
    cut = text.size();
    text += "</";
    text += name;
    text += ">\n";
  }
  void Content(std::string_view content, bool escape) {
    if (escape) {
      AppendXmlEscaped(text, content);
    } else {
      text += content;
    }
  }
  void Indent() { text.append(2 * depth, ' '); }
  // The text since the last value is a piece of the shape.
  void Cut() { pieces->emplace_back(text, cut); }
  std::string text;  // reused: keeps its storage from payment to payment
  std::array<std::vector<std::string>, kShapes + 1> shapes;  // the last is scratch
  std::array<bool, kShapes> known{};
  std::vector<std::string>* pieces = nullptr;  // of the transaction's shape
  bool recording = false;
  std::size_t current = 0;    // the shape being recorded
  std::size_t next = 0;       // the piece before the next value
  std::size_t cut = 0;        // where the text after the last value begins
  std::size_t depth = 0;      // while recording
  std::string_view open[16];  // names of the open elements from the transaction on
};

}  // namespace zor::detail
