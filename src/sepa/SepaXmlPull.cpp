#include "sepa/SepaXmlPull.h"

#include <libxml/parser.h>
#include <libxml/parserInternals.h>

#include <algorithm>
#include <cstring>
#include <istream>
#include <utility>

#include "core/MessageFill.h"
#include "sepa/SepaReadMessages.h"
#include "sepa/SepaText.h"
#include "zordta/Printable.h"

namespace zor::detail {

namespace {

using namespace msgsepaRead;

// The parser keeps no limit on the attributes of one start tag. No markup of a
// SEPA file comes near this, so more read for one node is hostile.
constexpr std::size_t kMaxBytesPerNode = std::size_t{16} << 20;
constexpr std::size_t kMaxValueBytes = 4096;
constexpr std::size_t kMaxAttributes = 4;
constexpr std::string_view kSchemaInstance = "http://www.w3.org/2001/XMLSchema-instance";
// The parser is fed as libxml2's own pull reader feeds it: the input read 4096
// bytes at a time and handed over in pieces of 512, the rest once the input has
// ended. Where a fault of the markup shows, and whether the input had ended by
// then, stays as it was under that reader.
constexpr std::size_t kReadBytes = 4096;
constexpr std::size_t kPieceBytes = 512;
// Before a node is handed over, this many nodes after it have begun (an element
// from its start tag on): a text is then whole, and a fault of the markup close
// behind a node shows where it showed under that reader, which read on to the
// node's successor.
constexpr std::size_t kLookahead = 1;
constexpr std::size_t kStartLookahead = 0;

std::string Named(std::string_view name) {
  return "„" + PrintableText(name) + "“";
}

std::string_view View(const xmlChar* text) {
  return text == nullptr ? std::string_view()
                         : std::string_view(reinterpret_cast<const char*>(text));
}

// Text the tree would have kept as mere whitespace.
bool Blank(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; });
}

// An attribute's value as the tree gives it: the parser keeps an ampersand
// written as a reference as "&#38;" for the tree to resolve.
std::string AttributeValue(const xmlChar* begin, const xmlChar* end) {
  std::string value(reinterpret_cast<const char*>(begin), static_cast<std::size_t>(end - begin));
  static constexpr std::string_view kAmpersand = "&#38;";
  for (std::size_t at = value.find(kAmpersand); at != std::string::npos;
       at = value.find(kAmpersand, at + 1)) {
    value.replace(at, kAmpersand.size(), "&");
  }
  return value;
}

// An attribute of SAX2's start of an element: local name, prefix, namespace, value, end.
std::string QualifiedName(const xmlChar** attribute) {
  const std::string_view name = View(attribute[0]);
  return attribute[1] == nullptr ? std::string(name)
                                 : std::string(View(attribute[1])) + ":" + std::string(name);
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
  char bytes[kPieceBytes + kReadBytes];
  std::size_t begin = 0, end = 0;  // read, not yet handed to the parser
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

  std::size_t Unparsed() const { return end - begin; }

  void SearchDoctype(std::string_view read) {
    static constexpr std::string_view kDoctype = "<!DOCTYPE";
    std::string text = tail + std::string(read);
    for (std::size_t at = tail.size(); at < text.size() && doctypeLine == 0; ++at) {
      if (text[at] == '\n') ++line;
      const std::size_t start = at + 1 >= kDoctype.size() ? at + 1 - kDoctype.size() : 0;
      if (text.compare(start, kDoctype.size(), kDoctype) == 0) doctypeLine = line;
    }
    tail = text.substr(text.size() > kDoctype.size() ? text.size() - kDoctype.size() : 0);
  }

  // Reads up to `length` more bytes behind those not yet parsed (fewer than a
  // piece); false when the stream failed or one node takes too much of it.
  bool Read(std::size_t length) {
    std::memmove(bytes, bytes + begin, end - begin);
    end -= begin;
    begin = 0;
    in.read(bytes + end, static_cast<std::streamsize>(length));
    if (in.bad()) {
      failed = true;
      return false;
    }
    const auto got = static_cast<std::size_t>(in.gcount());
    if (got == 0) atEnd = true;
    if (inProlog && doctypeLine == 0) SearchDoctype({bytes + end, got});
    end += got;
    sinceNode += got;
    if (sinceNode > kMaxBytesPerNode) {
      tooLarge = true;
      return false;
    }
    return true;
  }
};

// libxml2's SAX2 parser, pushed the input piece by piece; its events become
// nodes in a queue that the pull interface hands over. The queue holds the
// nodes of one piece at most, and its nodes are used again and again.
struct SepaXmlPull::Parser {
  xmlParserCtxtPtr context = nullptr;
  Input* input = nullptr;
  std::vector<Node> nodes;
  std::size_t head = 0, count = 0;  // nodes[head, count) are not yet handed over
  bool textOpen = false;            // nodes[count - 1] is a text the next piece may go on with
  bool done = false;                // the parser has had the whole input
  Node end;                         // Kind::Eof
  std::size_t depth = 0;
  bool doctype = false;
  bool broken = false;  // the parser stopped, maybe without an error of its own
  int errorCode = 0;
  std::size_t errorLine = 0;
  std::string errorText;  // the parser's English words, to tell its limits apart

  ~Parser() {
    if (context == nullptr) return;
    if (context->myDoc != nullptr) xmlFreeDoc(context->myDoc);
    xmlFreeParserCtxt(context);
  }

  std::size_t ParserLine() const {
    return context->input != nullptr ? static_cast<std::size_t>(std::max(0, context->input->line))
                                     : 0;
  }

  bool Stopped() const { return broken || doctype; }

  Node& Add(Kind kind) {
    if (count == nodes.size()) nodes.emplace_back();
    Node& node = nodes[count++];
    node.kind = kind;
    node.line = ParserLine();
    return node;
  }

  // Names and namespaces stay in the parser's dictionary while it lives: a
  // node used again keeps the copy it has where the parser names the same.
  void Name(std::string& name, const void*& key, const xmlChar* from) {
    if (from == key && from != nullptr) return;
    name.assign(View(from));
    key = from != nullptr && xmlDictOwns(context->dict, from) == 1 ? from : nullptr;
  }

  // An xml:id is refused by name once its element is reached; but the tree
  // checked its value, and that it was unique, as soon as it was parsed.
  std::vector<std::string> ids;
  bool TakeId(const std::string& id) {
    const bool name = xmlValidateNCName(reinterpret_cast<const xmlChar*>(id.c_str()), 1) == 0;
    if (!name || std::find(ids.begin(), ids.end(), id) != ids.end()) {
      Limit(name ? XML_DTD_ID_REDEFINED : XML_DTD_XMLID_VALUE, "xml:id");
      return false;
    }
    ids.push_back(id);
    return true;
  }

  // Whitespace alone, which the tree would have as such, is passed over.
  void EndText() {
    if (!textOpen) return;
    textOpen = false;
    if (Blank(nodes[count - 1].value)) nodes[count - 1].kind = Kind::Skipped;
  }

  // The limits the tree keeps in libxml2, told in its words.
  void Limit(int code, const char* words) {
    broken = true;
    errorCode = code;
    errorLine = ParserLine();
    errorText = words;
    xmlStopParser(context);
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

  static void OnError(void* context, xmlErrorPtr error) {
    auto& self = *static_cast<Parser*>(context);
    if (self.errorCode != 0 || error == nullptr || error->level < XML_ERR_ERROR) return;
    self.broken = true;
    self.errorCode = error->code;
    self.errorLine = error->line > 0 ? static_cast<std::size_t>(error->line) : 0;
    if (error->message != nullptr) self.errorText = error->message;
  }

  static void OnStart(void* context, const xmlChar* localName, const xmlChar*, const xmlChar* uri,
                      int, const xmlChar**, int attributeCount, int, const xmlChar** attributes) {
    auto& self = *static_cast<Parser*>(context);
    if (self.Stopped()) return;
    self.input->inProlog = false;
    self.EndText();
    if (++self.depth > xmlParserMaxDepth + 1) {
      self.Limit(XML_ERR_INTERNAL_ERROR, "Excessive depth in document");
      return;
    }
    Node& node = self.Add(Kind::Start);
    self.Name(node.name, node.nameKey, localName);
    self.Name(node.nameSpace, node.nameSpaceKey, uri);
    node.attributes.clear();
    node.currency.clear();
    node.refused.clear();
    // Namespace declarations are no attributes here.
    for (int i = 0; i < attributeCount; ++i) {
      const xmlChar** attribute = attributes + 5 * i;
      if (attribute[1] != nullptr && View(attribute[0]) == "id" && View(attribute[1]) == "xml" &&
          !self.TakeId(AttributeValue(attribute[3], attribute[4]))) {
        return;
      }
      const std::string_view name = View(attribute[0]);
      const std::string_view space = View(attribute[2]);
      if (space == kSchemaInstance) {
        node.attributes.emplace_back(kSchemaInstance);
      } else if (attribute[1] == nullptr && space.empty() && name == "Ccy") {
        node.currency = AttributeValue(attribute[3], attribute[4]);
        node.attributes.emplace_back(name);
      } else {
        node.refused = QualifiedName(attribute);
        break;
      }
      if (node.attributes.size() > kMaxAttributes) {
        node.refused = QualifiedName(attribute);
        break;
      }
    }
  }

  // An end is of the element opened last: the parser refuses any other.
  static void OnEnd(void* context, const xmlChar*, const xmlChar*, const xmlChar*) {
    auto& self = *static_cast<Parser*>(context);
    if (self.Stopped()) return;
    self.EndText();
    --self.depth;
    self.Add(Kind::End);
  }

  // Text comes in pieces; those with nothing between them make one text, as in the tree.
  static void OnText(void* context, const xmlChar* text, int length) {
    auto& self = *static_cast<Parser*>(context);
    if (self.Stopped()) return;
    const auto size = static_cast<std::size_t>(length);
    if (!self.textOpen) {
      self.Add(Kind::Text).value.assign(reinterpret_cast<const char*>(text), size);
      self.textOpen = true;
      return;
    }
    std::string& value = self.nodes[self.count - 1].value;
    if (value.size() + size > XML_MAX_TEXT_LENGTH) {
      self.Limit(XML_ERR_NO_MEMORY, "huge text node");
      return;
    }
    value.append(reinterpret_cast<const char*>(text), size);
  }

  static void OnComment(void* context, const xmlChar*) {
    auto& self = *static_cast<Parser*>(context);
    if (self.Stopped()) return;
    self.EndText();
    self.Add(Kind::Skipped);
  }

  static void OnInstruction(void* context, const xmlChar*, const xmlChar*) {
    OnComment(context, nullptr);
  }

  static void OnDoctype(void* context, const xmlChar*, const xmlChar*, const xmlChar*) {
    auto& self = *static_cast<Parser*>(context);
    if (self.Stopped()) return;
    self.doctype = true;
    // Its internal subset, entities and all, is never parsed.
    xmlStopParser(self.context);
  }

  // One step of the feeding: a piece, or what is left once the input has ended.
  void Push() {
    Input& in = *input;
    if (in.Unparsed() < kPieceBytes && !in.atEnd && !in.Read(kReadBytes)) {
      broken = true;
      return;
    }
    const bool last = in.atEnd;
    const std::size_t size = std::min(in.Unparsed(), kPieceBytes);
    const char* piece = in.bytes + in.begin;
    in.begin += size;
    if (xmlParseChunk(context, piece, static_cast<int>(size), last ? 1 : 0) != 0) broken = true;
    done = last;
  }
};

SepaXmlPull::SepaXmlPull(std::istream& in)
    : fInput(std::make_unique<Input>(in)), fParser(std::make_unique<Parser>()) {
  fParser->input = fInput.get();
  xmlSAXHandler sax;
  std::memset(&sax, 0, sizeof sax);
  sax.initialized = XML_SAX2_MAGIC;
  sax.startElementNs = Parser::OnStart;
  sax.endElementNs = Parser::OnEnd;
  sax.characters = Parser::OnText;
  sax.ignorableWhitespace = Parser::OnText;
  sax.cdataBlock = Parser::OnText;
  sax.comment = Parser::OnComment;
  sax.processingInstruction = Parser::OnInstruction;
  sax.internalSubset = Parser::OnDoctype;
  sax.serror = Parser::OnError;
  // The first four bytes tell the encoding, as with libxml2's reader. A failed
  // read shows with the first node.
  const bool four = fInput->Read(4) && fInput->Unparsed() >= 4;
  fParser->context = xmlCreatePushParserCtxt(&sax, fParser.get(), four ? fInput->bytes : nullptr,
                                             four ? 4 : 0, nullptr);
  if (fParser->context == nullptr) Fail(SepaReadFault::Unreadable, 0, _MsgReadStream);
  if (four) fInput->begin = 4;
  // Without XML_PARSE_NOENT, DTDLOAD or DTDATTR nothing is loaded or
  // substituted; a document type declaration stops the parser before its
  // internal subset.
  xmlCtxtUseOptions(fParser->context, XML_PARSE_NONET | XML_PARSE_BIG_LINES | XML_PARSE_NOCDATA);
}

SepaXmlPull::~SepaXmlPull() = default;

void SepaXmlPull::Fail(SepaReadFault fault, std::size_t line, std::string text) const {
  throw SepaReadError(fault, line, std::move(text));
}

void SepaXmlPull::FailParser() {
  const Parser& parser = *fParser;
  const std::size_t line = parser.errorLine;
  if (fInput->failed) Fail(SepaReadFault::Unreadable, line, _MsgReadStream);
  if (fInput->tooLarge) Fail(SepaReadFault::Unreadable, line, _MsgReadTooLarge);
  // A document cut inside an element ends with "premature end of data"; one cut
  // between two elements, like bytes after the root element, with "extra
  // content at the end", which names neither.
  if (const char* limit = parser.LimitMessage()) {
    Fail(SepaReadFault::Unreadable, line, Fill(limit, {std::to_string(xmlParserMaxDepth)}));
  }
  const int code = parser.errorCode;
  const char* text = _MsgReadNotXml;
  if (fInput->atEnd && code == XML_ERR_TAG_NOT_FINISHED) text = _MsgReadTruncated;
  if (fInput->atEnd && code == XML_ERR_DOCUMENT_END) text = _MsgReadTruncatedOrAfterEnd;
  Fail(SepaReadFault::Xml, line != 0 ? line : parser.ParserLine(), text);
}

SepaXmlPull::Node& SepaXmlPull::ReadNode() {
  Parser& parser = *fParser;
  fInput->sinceNode = 0;
  for (;;) {
    while (parser.head < parser.count && parser.nodes[parser.head].kind == Kind::Skipped) {
      ++parser.head;
    }
    if (parser.head < parser.count) {
      const bool start = parser.nodes[parser.head].kind == Kind::Start;
      if (parser.head + (start ? kStartLookahead : kLookahead) < parser.count) {
        return parser.nodes[parser.head++];
      }
    }
    if (parser.done) {
      parser.EndText();
      while (parser.head < parser.count && parser.nodes[parser.head].kind == Kind::Skipped) {
        ++parser.head;
      }
      return parser.head < parser.count ? parser.nodes[parser.head++] : parser.end;
    }
    // The nodes not yet handed over move to the front.
    for (std::size_t i = parser.head; i < parser.count; ++i) {
      std::swap(parser.nodes[i - parser.head], parser.nodes[i]);
    }
    parser.count -= parser.head;
    parser.head = 0;
    parser.Push();
    if (parser.doctype) {
      Fail(SepaReadFault::Doctype,
           fInput->doctypeLine != 0 ? fInput->doctypeLine : parser.ParserLine(), _MsgReadDoctype);
    }
    if (parser.broken) FailParser();
  }
}

SepaXmlPull::Node& SepaXmlPull::Peek() {
  if (fPending) return *fNode;
  fPending = true;
  fNode = &ReadNode();
  if (fNode->kind == Kind::Start && !fNode->refused.empty()) {
    Fail(SepaReadFault::Element, fNode->line, Fill(_MsgReadAttribute, {Named(fNode->refused)}));
  }
  return *fNode;
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
           Fill(_MsgReadMissing, {Named(expected)}) +
               Named(fOpen.empty() ? std::string_view() : fOpen.back().first) + ".");
    case Kind::Skipped:
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
