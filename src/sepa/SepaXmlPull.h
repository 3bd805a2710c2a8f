// Elements of one namespace pulled in order from a stream, as the SEPA reader
// expects them: every element is asked for by name, so whatever else stands
// in the file is refused where it stands. Comments, processing instructions
// and whitespace between elements carry no data and are passed over.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "zordta/SepaReader.h"

namespace zor::detail {

class SepaXmlPull {
 public:
  /// No DTD is loaded, no entity substituted, nothing fetched from a network.
  explicit SepaXmlPull(std::istream& in);
  ~SepaXmlPull();
  SepaXmlPull(const SepaXmlPull&) = delete;
  SepaXmlPull& operator=(const SepaXmlPull&) = delete;

  /// Opens the root element, whatever its name and namespace, and takes its
  /// namespace for every element below. The root may carry attributes of the
  /// schema instance namespace (xsi:schemaLocation); they say nothing of the payments.
  void OpenRoot(std::string& name, std::string& nameSpace);
  /// Opens element `name`; refuses anything else, and any attribute.
  void Open(std::string_view name);
  /// Whether the next element is `name`.
  bool At(std::string_view name);
  /// Closes the element last opened; refuses an element still in it.
  void Close();
  /// <name>text</name>: the text, at most 4096 bytes. With `currency` the
  /// element must carry the attribute Ccy, whose value goes there.
  std::string Text(std::string_view name, std::string* currency = nullptr);
  /// Nothing but comments and whitespace after the root element, to the end of the input.
  void Finish();

  /// The line of the element last opened.
  std::size_t Line() const { return fOpenLine; }
  [[noreturn]] void Fail(SepaReadFault fault, std::size_t line, std::string text) const;

 private:
  enum class Kind { Start, End, Text, Skipped, Eof };
  struct Node {
    Kind kind = Kind::Eof;
    std::string name;
    std::string nameSpace;
    std::string value;
    std::size_t line = 0;
    std::vector<std::string> attributes;  // Ccy, or the schema instance namespace for its own
    std::string currency;
    std::string refused;            // the attribute that is read nowhere, if any
    const void* nameKey = nullptr;  // where the parser keeps name and namespace
    const void* nameSpaceKey = nullptr;
  };

  struct Input;
  struct Parser;

  Node& Peek();
  void Take() { fPending = false; }
  Node& ReadNode();
  [[noreturn]] void FailParser();
  void Enter(Node& node, bool currencyAllowed, bool schemaInstanceAllowed);
  Node& Expect(std::string_view name);
  [[noreturn]] void Unexpected(const Node& node, std::string_view expected);

  std::unique_ptr<Input> fInput;
  std::unique_ptr<Parser> fParser;
  Node* fNode = nullptr;
  bool fPending = false;
  std::string fNamespace;
  std::vector<std::pair<std::string, std::size_t>> fOpen;  // names and lines of open elements
  std::size_t fOpenLine = 0;
};

}  // namespace zor::detail
