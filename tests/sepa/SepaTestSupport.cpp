#include "sepa/SepaTestSupport.h"

#include <libxml/parser.h>
#include <libxml/xmlschemas.h>

#include <cstdarg>
#include <cstdio>
#include <memory>
#include <sstream>

namespace zortest {

namespace {

struct FreeDoc {
  void operator()(xmlDocPtr doc) const { xmlFreeDoc(doc); }
};
struct FreeParserCtxt {
  void operator()(xmlSchemaParserCtxtPtr c) const { xmlSchemaFreeParserCtxt(c); }
};
struct FreeSchema {
  void operator()(xmlSchemaPtr s) const { xmlSchemaFree(s); }
};
struct FreeValidCtxt {
  void operator()(xmlSchemaValidCtxtPtr c) const { xmlSchemaFreeValidCtxt(c); }
};

void CollectError(void* context, const char* format, ...) {
  char text[1024];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  *static_cast<std::string*>(context) += text;
}

}  // namespace

Read ReadAll(const std::string& xml) {
  std::istringstream in(xml);
  zor::SepaReader reader(in);
  Read read;
  for (;;) {
    switch (reader.Next()) {
      case zor::SepaReader::Item::Document:
        read.document = reader.Document();
        continue;
      case zor::SepaReader::Item::Block:
        read.blocks.push_back(reader.Block());
        continue;
      case zor::SepaReader::Item::Payment:
        read.payments.push_back(reader.Payment());
        read.places.push_back(reader.Place());
        continue;
      case zor::SepaReader::Item::End:
        break;
    }
    break;
  }
  EXPECT_EQ(reader.Next(), zor::SepaReader::Item::End);
  return read;
}

std::chrono::year_month_day Day(int year, unsigned month, unsigned day) {
  return std::chrono::year_month_day{std::chrono::year(year), std::chrono::month(month),
                                     std::chrono::day(day)};
}

std::string WriteSepa(const zor::SepaSettings& settings,
                      const std::vector<zor::SepaPayment>& payments) {
  zor::SepaPlan plan(settings);
  for (const zor::SepaPayment& p : payments) plan.Add(p);
  std::ostringstream out;
  zor::SepaWriter writer(plan, out);
  for (const zor::SepaGroupTotals& group : plan.Groups()) {
    for (const zor::SepaPayment& p : payments) {
      zor::SepaGroup g = p.group;
      if (settings.kind == zor::SepaKind::CreditTransfer) g.sequence = group.group.sequence;
      if (g == group.group) writer.Add(p);
    }
  }
  writer.Finish();
  return out.str();
}

::testing::AssertionResult ValidSepa(const std::string& document) {
  std::unique_ptr<xmlDoc, FreeDoc> doc(xmlReadMemory(
      document.data(), static_cast<int>(document.size()), "pain.xml", nullptr, XML_PARSE_NONET));
  if (!doc) return ::testing::AssertionFailure() << "no well-formed XML";
  const xmlNode* root = xmlDocGetRootElement(doc.get());
  if (root == nullptr || root->ns == nullptr) {
    return ::testing::AssertionFailure() << "no namespace";
  }
  const std::string ns = reinterpret_cast<const char*>(root->ns->href);
  const std::string prefix = "urn:iso:std:iso:20022:tech:xsd:";
  if (ns.rfind(prefix, 0) != 0) return ::testing::AssertionFailure() << "namespace " << ns;
  const std::string xsd =
      std::string(ZORDTA_SEPA_XSD_DIR) + "/" + ns.substr(prefix.size()) + ".xsd";

  std::string errors;
  std::unique_ptr<xmlSchemaParserCtxt, FreeParserCtxt> parser(xmlSchemaNewParserCtxt(xsd.c_str()));
  xmlSchemaSetParserErrors(parser.get(), CollectError, CollectError, &errors);
  std::unique_ptr<xmlSchema, FreeSchema> schema(xmlSchemaParse(parser.get()));
  if (!schema) return ::testing::AssertionFailure() << "schema " << xsd << ": " << errors;
  std::unique_ptr<xmlSchemaValidCtxt, FreeValidCtxt> valid(xmlSchemaNewValidCtxt(schema.get()));
  xmlSchemaSetValidErrors(valid.get(), CollectError, CollectError, &errors);
  if (xmlSchemaValidateDoc(valid.get(), doc.get()) != 0) {
    return ::testing::AssertionFailure() << "invalid by " << xsd << ":\n" << errors;
  }
  return ::testing::AssertionSuccess();
}

}  // namespace zortest
