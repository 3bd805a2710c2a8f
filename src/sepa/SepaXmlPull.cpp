#include "sepa/SepaXmlPull.h"

#include <libxml/parserInternals.h>
#include <libxml/xmlreader.h>

#include <algorithm>
#include <istream>
#include <utility>

#include "core/MessageFill.h"
#include "sepa/SepaReadMessages.h"
#include "sepa/SepaText.h"
#include "zordta/Printable.h"

namespace zor::detail {

namespace {

using namespace msgsepaRead;

// libxml2 keeps a text node to 10 MB, but not the attributes of one start tag.
// No markup of a SEPA file comes near this, so more between two nodes is hostile.
constexpr std::size_t kMaxBytesPerNode = std::size_t{16} << 20;
constexpr std::size_t kMaxValueBytes = 4096;
constexpr std::size_t kMaxAttributes = 4;
constexpr const char* kSchemaInstance = "http://www.w3.org/2001/XMLSchema-instance";

std::string Named(std::string_view name) {
  return "„" + PrintableText(name) + "“";
}

std::string Utf8(const xmlChar* text) {
  return text == nullptr ? std::string() : std::string(reinterpret_cast<const char*>(text));
}

// A shortened, printable view of unexpected text for a message.
std::string Excerpt(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (out.size() >= 40) return "„" + PrintableText(out) + "…“";
    out += (c == '\n' || c == '\r' || c == '\t') ? ' ' : c;
  }
  return "„" + PrintableText(out) + "“";
}

}  // namespace

struct SepaXmlPull::Input {
  explicit Input(std::istream& stream) : in(stream) {}

  std::istream& in;
  std::size_t sinceNode = 0;
  bool failed = false;
  bool tooLarge = false;
  bool atEnd = false;
  // The parser gives a document type declaration no line: until the root
  // element is reached, the input is searched for it, counting lines.
  bool inProlog = true;
  std::size_t line = 1;
  std::size_t doctypeLine = 0;
  std::string tail;

  void SearchDoctype(std::string_view bytes) {
    static constexpr std::string_view kDoctype = "<!DOCTYPE";
    std::string text = tail + std::string(bytes);
    for (std::size_t at = tail.size(); at < text.size() && doctypeLine == 0; ++at) {
      if (text[at] == '\n') ++line;
      const std::size_t start = at + 1 >= kDoctype.size() ? at + 1 - kDoctype.size() : 0;
      if (text.compare(start, kDoctype.size(), kDoctype) == 0) doctypeLine = line;
    }
    tail = text.substr(text.size() > kDoctype.size() ? text.size() - kDoctype.size() : 0);
  }

  static int Read(void* context, char* buffer, int length) {
    auto& self = *static_cast<Input*>(context);
    self.in.read(buffer, length);
    if (self.in.bad()) {
      self.failed = true;
      return -1;
    }
    const auto got = static_cast<std::size_t>(self.in.gcount());
    if (got == 0) self.atEnd = true;
    if (self.inProlog && self.doctypeLine == 0) self.SearchDoctype({buffer, got});
    self.sinceNode += got;
    if (self.sinceNode > kMaxBytesPerNode) {
      self.tooLarge = true;
      return -1;
    }
    return static_cast<int>(got);
  }
};

struct SepaXmlPull::Reader {
  xmlTextReaderPtr reader = nullptr;
  int errorCode = 0;
  std::size_t errorLine = 0;
  std::string errorText;  // the parser's English words, to tell its limits apart

  static void OnError(void* context, xmlErrorPtr error) {
    auto& self = *static_cast<Reader*>(context);
    if (self.errorCode != 0 || error == nullptr || error->level < XML_ERR_ERROR) return;
    self.errorCode = error->code;
    self.errorLine = error->line > 0 ? static_cast<std::size_t>(error->line) : 0;
    if (error->message != nullptr) self.errorText = error->message;
  }

  // The message for one of the parser's limits (those XML_PARSE_HUGE would
  // lift), or none. The parser shares its codes with other faults, so its
  // words tell which limit it was.
  const char* LimitMessage() const {
    const auto says = [this](const char* words) {
      return errorText.find(words) != std::string::npos;
    };
    if (says("Excessive depth")) return _MsgReadTooDeep;
    if (says("huge text node")) return _MsgReadTextTooLong;
    if (errorCode == XML_ERR_NAME_TOO_LONG) return _MsgReadNameTooLong;
    if (says("too long") || says("too big") || says("Huge input lookup") ||
        says("XML_PARSE_HUGE")) {
      return _MsgReadMarkupTooLong;
    }
    return nullptr;
  }
  ~Reader() {
    if (reader != nullptr) xmlFreeTextReader(reader);
  }
};

SepaXmlPull::SepaXmlPull(std::istream& in)
    : fInput(std::make_unique<Input>(in)), fReader(std::make_unique<Reader>()) {
  // Without XML_PARSE_NOENT, DTDLOAD or DTDATTR nothing is loaded or substituted.
  fReader->reader = xmlReaderForIO(Input::Read, nullptr, fInput.get(), nullptr, nullptr,
                                   XML_PARSE_NONET | XML_PARSE_BIG_LINES | XML_PARSE_NOCDATA);
  if (fReader->reader == nullptr) Fail(SepaReadFault::Unreadable, 0, _MsgReadStream);
  xmlTextReaderSetStructuredErrorHandler(fReader->reader, Reader::OnError, fReader.get());
}

SepaXmlPull::~SepaXmlPull() = default;

void SepaXmlPull::Fail(SepaReadFault fault, std::size_t line, std::string text) const {
  throw SepaReadError(fault, line, std::move(text));
}

void SepaXmlPull::FailParser() {
  const std::size_t line = fReader->errorLine;
  if (fInput->failed) Fail(SepaReadFault::Unreadable, line, _MsgReadStream);
  if (fInput->tooLarge) Fail(SepaReadFault::Unreadable, line, _MsgReadTooLarge);
  // A document cut inside an element ends with "premature end of data"; one cut
  // between two elements, like bytes after the root element, with "extra
  // content at the end", which names neither.
  if (const char* limit = fReader->LimitMessage()) {
    Fail(SepaReadFault::Unreadable, line, Fill(limit, {std::to_string(xmlParserMaxDepth)}));
  }
  const int code = fReader->errorCode;
  const char* text = _MsgReadNotXml;
  if (fInput->atEnd && code == XML_ERR_TAG_NOT_FINISHED) text = _MsgReadTruncated;
  if (fInput->atEnd && code == XML_ERR_DOCUMENT_END) text = _MsgReadTruncatedOrAfterEnd;
  Fail(SepaReadFault::Xml,
       line != 0 ? line
                 : static_cast<std::size_t>(
                       std::max(0, xmlTextReaderGetParserLineNumber(fReader->reader))),
       text);
}

void SepaXmlPull::ReadAttributes() {
  xmlTextReaderPtr r = fReader->reader;
  while (xmlTextReaderMoveToNextAttribute(r) == 1) {
    if (xmlTextReaderIsNamespaceDecl(r) == 1) continue;
    const std::string uri = Utf8(xmlTextReaderConstNamespaceUri(r));
    const std::string name = Utf8(xmlTextReaderConstName(r));
    if (uri == kSchemaInstance) {
      fNode.attributes.push_back(kSchemaInstance);
    } else if (name == "Ccy" && uri.empty()) {
      fNode.currency = Utf8(xmlTextReaderConstValue(r));
      fNode.attributes.push_back(name);
    } else {
      Fail(SepaReadFault::Element, fNode.line, Fill(_MsgReadAttribute, {Named(name)}));
    }
    if (fNode.attributes.size() > kMaxAttributes) {
      Fail(SepaReadFault::Element, fNode.line, Fill(_MsgReadAttribute, {Named(name)}));
    }
  }
  xmlTextReaderMoveToElement(r);
}

void SepaXmlPull::ReadNode() {
  xmlTextReaderPtr r = fReader->reader;
  for (;;) {
    fInput->sinceNode = 0;
    const int result = xmlTextReaderRead(r);
    if (result < 0 || fReader->errorCode != 0) FailParser();
    fNode = Node();
    if (result == 0) return;  // Kind::Eof
    // A node knows its line; the document type declaration does not.
    const xmlNodePtr current = xmlTextReaderCurrentNode(r);
    const long line = current != nullptr ? xmlGetLineNo(current) : -1;
    fNode.line = static_cast<std::size_t>(line > 0 ? line : xmlTextReaderGetParserLineNumber(r));
    switch (xmlTextReaderNodeType(r)) {
      case XML_READER_TYPE_ELEMENT:
        fInput->inProlog = false;
        fNode.kind = Kind::Start;
        fNode.name = Utf8(xmlTextReaderConstLocalName(r));
        fNode.nameSpace = Utf8(xmlTextReaderConstNamespaceUri(r));
        fNode.empty = xmlTextReaderIsEmptyElement(r) == 1;
        ReadAttributes();
        return;
      case XML_READER_TYPE_END_ELEMENT:
        fNode.kind = Kind::End;
        fNode.name = Utf8(xmlTextReaderConstLocalName(r));
        return;
      case XML_READER_TYPE_TEXT:
      case XML_READER_TYPE_CDATA:
        fNode.kind = Kind::Text;
        fNode.value = Utf8(xmlTextReaderConstValue(r));
        return;
      case XML_READER_TYPE_WHITESPACE:
      case XML_READER_TYPE_SIGNIFICANT_WHITESPACE:
      case XML_READER_TYPE_COMMENT:
      case XML_READER_TYPE_PROCESSING_INSTRUCTION:
      case XML_READER_TYPE_XML_DECLARATION:
        continue;
      case XML_READER_TYPE_DOCUMENT_TYPE:
        Fail(SepaReadFault::Doctype, fInput->doctypeLine != 0 ? fInput->doctypeLine : fNode.line,
             _MsgReadDoctype);
      default:
        Fail(SepaReadFault::Xml, fNode.line, _MsgReadNotXml);
    }
  }
}

SepaXmlPull::Node& SepaXmlPull::Peek() {
  if (fPending) return fNode;
  fPending = true;
  if (fEndOfEmpty) {
    fEndOfEmpty = false;
    fNode = Node();
    fNode.kind = Kind::End;
    fNode.name = fOpen.back().first;
    fNode.line = fOpen.back().second;
    return fNode;
  }
  ReadNode();
  return fNode;
}

void SepaXmlPull::Unexpected(const Node& node, std::string_view expected) {
  const std::size_t parentLine = fOpen.empty() ? node.line : fOpen.back().second;
  switch (node.kind) {
    case Kind::Start:
      Fail(SepaReadFault::Element, node.line,
           expected.empty()
               ? Fill(_MsgReadUnexpected, {Named(node.name)})
               : Fill(_MsgReadUnexpectedExpected, {Named(node.name)}) + Named(expected) + ".");
    case Kind::Text:
      Fail(SepaReadFault::Element, node.line, Fill(_MsgReadText, {Excerpt(node.value)}));
    case Kind::End:
      Fail(SepaReadFault::Element, parentLine,
           Fill(_MsgReadMissing, {Named(expected)}) + Named(node.name) + ".");
    case Kind::Eof:
      break;
  }
  FailParser();  // the parser ends every open element before the input ends
}

void SepaXmlPull::Enter(Node& node, bool currencyAllowed, bool schemaInstanceAllowed) {
  for (const std::string& attribute : node.attributes) {
    const bool allowed = attribute == kSchemaInstance ? schemaInstanceAllowed : currencyAllowed;
    if (!allowed) {
      Fail(SepaReadFault::Element, node.line,
           Fill(_MsgReadAttribute,
                {Named(attribute == kSchemaInstance ? "xsi:…" : attribute.c_str())}));
    }
  }
  Take();
  fOpen.emplace_back(node.name, node.line);
  fOpenLine = node.line;
  fEndOfEmpty = node.empty;
}

void SepaXmlPull::OpenRoot(std::string& name, std::string& nameSpace) {
  Node& node = Peek();
  if (node.kind != Kind::Start) Unexpected(node, "Document");
  name = node.name;
  nameSpace = node.nameSpace;
  fNamespace = node.nameSpace;
  Enter(node, false, true);
}

SepaXmlPull::Node& SepaXmlPull::Expect(std::string_view name) {
  Node& node = Peek();
  if (node.kind != Kind::Start || node.name != name) Unexpected(node, name);
  if (node.nameSpace != fNamespace) {
    Fail(SepaReadFault::Element, node.line, Fill(_MsgReadForeign, {Named(node.name)}));
  }
  return node;
}

void SepaXmlPull::Open(std::string_view name) {
  Enter(Expect(name), false, false);
}

bool SepaXmlPull::At(std::string_view name) {
  const Node& node = Peek();
  return node.kind == Kind::Start && node.name == name;
}

void SepaXmlPull::Close() {
  Node& node = Peek();
  if (node.kind != Kind::End) Unexpected(node, {});
  Take();
  fOpen.pop_back();
}

std::string SepaXmlPull::Text(std::string_view name, std::string* currency) {
  Node& node = Expect(name);
  if (currency != nullptr) {
    if (node.attributes.empty()) {
      Fail(SepaReadFault::Element, node.line,
           Fill(_MsgReadMissing, {Named("Ccy")}) + Named(node.name) + ".");
    }
    *currency = node.currency;
  }
  Enter(node, currency != nullptr, false);
  std::string text;
  for (;;) {
    const Node& piece = Peek();
    if (piece.kind != Kind::Text) break;
    if (text.size() + piece.value.size() > kMaxValueBytes) {
      Fail(SepaReadFault::Value, piece.line, Fill(_MsgReadValueLength, {Named(name)}));
    }
    text += piece.value;
    Take();
  }
  Close();
  return text;
}

void SepaXmlPull::Finish() {
  Node& node = Peek();
  if (node.kind != Kind::Eof) Fail(SepaReadFault::Element, node.line, _MsgReadAfterEnd);
}

}  // namespace zor::detail
