// Writes the generated part of the SEPA corpus: pain files made by the generators
// of Debian's banking library (libhbci4j-core-java), each with the properties asked
// of it, next to a stub X.json that records them. content.py then adds each file's
// content to its stub. The generators stamp CreDtTm with the clock; make_corpus.sh
// pins it afterwards.
//
//   java MakeCorpus OUTDIR
//
// Every version gets two files: one with every property its generator reads,
// over several payments (keys with an index, "dst[1].name"), and one with a single
// payment (keys without an index) and the optional ones left out. Execution and
// collection dates lie years ahead, since `zordta sepa write` takes no date
// before today and the corpus is written again by the round-trip test.

import java.io.ByteArrayOutputStream;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.Paths;
import java.util.ArrayList;
import java.util.List;
import java.util.Map;
import java.util.Properties;
import java.util.TreeMap;
import org.kapott.hbci.GV.generators.ISEPAGenerator;
import org.kapott.hbci.GV.generators.SEPAGeneratorFactory;
import org.kapott.hbci.sepa.SepaVersion;

public final class MakeCorpus {
  private static final String URN = "urn:iso:std:iso:20022:tech:xsd:";

  // The creditor of every debit and the debtor of every transfer.
  private static final String OWN_NAME = "Stadtwerke Musterstadt GmbH";
  private static final String OWN_IBAN = "DE89370400440532013000";
  private static final String OWN_BIC = "COBADEFFXXX";
  private static final String CREDITOR_ID = "DE98ZZZ09999999999";

  private record Case(String name, String version, String job, Properties options,
                      String verdict, String reason, String mentions) {
    // The larger files are indented, the others on one line, as the generators
    // write them unless asked.
    boolean formatted() {
      return !name.contains("single");
    }
  }

  private MakeCorpus() {}

  /** The properties of one payment; index null writes the keys without one. */
  private static final class Payment {
    private final Map<String, String> keys = new TreeMap<>();

    Payment put(String key, String value) {
      keys.put(key, value);
      return this;
    }

    void into(Properties options, Integer index) {
      for (Map.Entry<String, String> entry : keys.entrySet()) {
        String key = entry.getKey();
        if (index != null) {
          int dot = key.indexOf('.');
          key = dot < 0 ? key + "[" + index + "]"
                        : key.substring(0, dot) + "[" + index + "]" + key.substring(dot);
        }
        options.setProperty(key, entry.getValue());
      }
    }
  }

  private static Properties document(String messageId, String date, String dateKey,
                                     boolean ownBic, String batchBooking, List<Payment> payments,
                                     boolean indexed) {
    Properties options = new Properties();
    options.setProperty("sepaid", messageId);
    options.setProperty("pmtinfid", messageId + "-B1");
    options.setProperty("src.name", OWN_NAME);
    options.setProperty("src.iban", OWN_IBAN);
    if (ownBic) {
      options.setProperty("src.bic", OWN_BIC);
    }
    options.setProperty(dateKey, date);
    if (batchBooking != null) {
      options.setProperty("batchbook", batchBooking);
    }
    for (int i = 0; i < payments.size(); ++i) {
      payments.get(i).into(options, indexed ? Integer.valueOf(i) : null);
    }
    return options;
  }

  private static Payment payment(String name, String iban, String bic, String amount) {
    Payment payment = new Payment().put("dst.name", name).put("dst.iban", iban)
        .put("btg.value", amount).put("btg.curr", "EUR");
    return bic == null ? payment : payment.put("dst.bic", bic);
  }

  private static List<Case> transfers(String version, String tag) {
    List<Case> cases = new ArrayList<>();
    List<Payment> many = List.of(
        payment("Jürgen Weiß", "DE75120300001020304050", "BYLADEM1001", "2350.00")
            .put("endtoendid", "GEHALT-2031-03-JW").put("usage", "Gehalt März 2031")
            .put("purposecode", "SALA"),
        payment("Finanzamt München", "DE97701500000000123456", "SSKMDEMMXXX", "1234.56")
            .put("endtoendid", "UST-2031-02").put("usage", "USt-VA Februar 2031 StNr 143/123/45678")
            .put("purposecode", "TAXS"),
        payment("Wiener Bürobedarf KG", "AT252011182221888888", null, "89.90")
            .put("usage", "Rechnung 2031-0042 vom 28.02.2031"),
        payment("Bakkerij de Molen B.V.", "NL91ABNA0417164300", "ABNANL2AXXX", "0.01"));
    cases.add(new Case("gen-transfers-" + tag + "-full", version, "UebSEPA",
                       document("STW-" + tag + "-0001", "2031-03-14", "date", true, "1", many, true),
                       "read", null, null));
    List<Payment> one = List.of(payment("Erika Mustermann", "DE44500105175407324931",
                                        "INGDDEFFXXX", "47.11")
                                    .put("endtoendid", "ABSCHLAG-4711")
                                    .put("usage", "Abschlag Strom Kundennr 4711"));
    cases.add(new Case("gen-transfers-" + tag + "-single", version, "UebSEPA",
                       document("STW-" + tag + "-0002", "2031-04-01", "date", false, "0", one,
                                false),
                       "read", null, null));
    return cases;
  }

  private static Payment mandate(Payment payment, String id, String signed, String amended) {
    return payment.put("creditorid", CREDITOR_ID).put("mandateid", id)
        .put("manddateofsig", signed).put("amendmandindic", amended);
  }

  // GenLastSEPA00800108 makes the scheme name of the creditor identifier but never
  // puts it into the document; the EPC's rules ask for SchmeNm/Prtry SEPA.
  private static final String NO_SCHEME_NAME =
      "the creditor identifier (DrctDbtTx/CdtrSchmeId) lacks SchmeNm/Prtry SEPA";

  private static List<Case> debits(String version, String tag, boolean current) {
    List<Case> cases = new ArrayList<>();
    String verdict = current ? "refused" : "read";
    String reason = current ? NO_SCHEME_NAME : null;
    String mentions = current ? "SchmeNm" : null;
    List<Payment> many = new ArrayList<>(List.of(
        mandate(payment("Hans Müller", "DE77100100100123456789", "PBNKDEFFXXX", "84.00"),
                "MANDAT-0001", "2024-05-17", "false")
            .put("endtoendid", "STROM-2031-03-0001").put("usage", "Abschlag Strom März 2031"),
        mandate(payment("Anna Schäfer", "DE48430609674011223300", "GENODEM1GLS", "61.50"),
                "MANDAT-0002", "2025-01-08", "true")
            .put("endtoendid", "GAS-2031-03-0002")
            .put("usage", "Abschlag Gas März 2031, neue Bankverbindung"),
        mandate(payment("Familie Öztürk", "DE34200505501234567890", null, "120.00"),
                "MANDAT-0003", "2023-11-30", "false")
            .put("usage", "Wasser und Abwasser 1. Quartal 2031").put("purposecode", "WTER")));
    if (!current) {
      many.add(mandate(payment("Beat Zürcher", "CH7809000000012345678", "POFICHBEXXX", "45.25"),
                       "MANDAT-0004", "2025-06-02", "false")
                   .put("endtoendid", "STROM-2031-03-0004").put("usage", "Ferienwohnung Strom")
                   .put("dst.addr.country", "CH").put("dst.addr.line1", "Bahnhofstrasse 12")
                   .put("dst.addr.line2", "8001 Zürich"));
    }
    Properties core = document("STW-" + tag + "-0001", "2031-03-17", "targetdate", true, "1",
                               many, true);
    core.setProperty("type", "CORE");
    core.setProperty("sequencetype", "FRST");
    cases.add(new Case("gen-debits-" + tag + "-core", version, "LastSEPA", core, verdict, reason,
                       mentions));

    List<Payment> one = List.of(
        mandate(payment("Bäckerei Schmidt OHG", "DE38600501010007654321", "SOLADEST600", "312.40"),
                "B2B-2026-17", "2026-02-01", "true")
            .put("endtoendid", "FERNWAERME-2031-03")
            .put("usage", "Fernwärme März 2031 Vertrag 88-1024"));
    Properties b2b = document("STW-" + tag + "-0002", "2031-03-20", "targetdate", false, "0",
                              one, false);
    b2b.setProperty("type", "B2B");
    b2b.setProperty("sequencetype", "RCUR");
    cases.add(new Case("gen-debits-" + tag + "-b2b-single", version, "LastSEPA", b2b, verdict,
                       reason, mentions));

    if (current) {
      // The only address these generators write is country and lines, which the
      // current versions no longer take.
      List<Payment> swiss = List.of(
          mandate(payment("Beat Zürcher", "CH7809000000012345678", "POFICHBEXXX", "45.25"),
                  "MANDAT-0004", "2025-06-02", "false")
              .put("endtoendid", "STROM-2031-03-0004").put("usage", "Ferienwohnung Strom")
              .put("dst.addr.country", "CH").put("dst.addr.line1", "Bahnhofstrasse 12")
              .put("dst.addr.line2", "8001 Zürich"));
      Properties address = document("STW-" + tag + "-0003", "2031-03-17", "targetdate", true,
                                    null, swiss, true);
      address.setProperty("type", "CORE");
      address.setProperty("sequencetype", "RCUR");
      cases.add(new Case("gen-debits-" + tag + "-swiss-address-lines", version, "LastSEPA",
                         address, "refused",
                         NO_SCHEME_NAME + "; the debtor's address is AdrLine alone, without TwnNm",
                         "SchmeNm"));
    }
    return cases;
  }

  private static String json(String text) {
    StringBuilder out = new StringBuilder("\"");
    for (char c : text.toCharArray()) {
      if (c == '"' || c == '\\') {
        out.append('\\').append(c);
      } else if (c < 0x20) {
        out.append(String.format("\\u%04x", (int) c));
      } else {
        out.append(c);
      }
    }
    return out.append('"').toString();
  }

  private static void write(Case c, Path outDir) throws Exception {
    SepaVersion version = SepaVersion.byURN(URN + c.version());
    // The factory hands out raw generators; those for transfers and debits take Properties.
    @SuppressWarnings("unchecked")
    ISEPAGenerator<Properties> generator = SEPAGeneratorFactory.get(c.job(), version);
    System.setProperty("sepa.pain.formatted", String.valueOf(c.formatted()));
    ByteArrayOutputStream xml = new ByteArrayOutputStream();
    generator.generate(c.options(), xml, true);  // validates against the jar's schema
    Files.write(outDir.resolve(c.name() + ".xml"), xml.toByteArray());

    StringBuilder stub = new StringBuilder("{\n");
    stub.append("  \"producer\": ").append(json(generator.getClass().getName())).append(",\n");
    stub.append("  \"options\": {");
    String separator = "\n";
    for (Map.Entry<Object, Object> option : new TreeMap<>(c.options()).entrySet()) {
      stub.append(separator).append("    ").append(json((String) option.getKey())).append(": ")
          .append(json((String) option.getValue()));
      separator = ",\n";
    }
    stub.append("\n  },\n  \"system_properties\": {\"sepa.pain.formatted\": ")
        .append(json(String.valueOf(c.formatted()))).append("},\n");
    stub.append("  \"verdict\": ").append(json(c.verdict()));
    if (c.reason() != null) {
      stub.append(",\n  \"reason\": ").append(json(c.reason()));
      stub.append(",\n  \"stderr_mentions\": ").append(json(c.mentions()));
    }
    stub.append("\n}\n");
    Files.write(outDir.resolve(c.name() + ".json"),
                stub.toString().getBytes(StandardCharsets.UTF_8));
  }

  public static void main(String[] args) throws Exception {
    if (args.length != 1) {
      System.err.println("Aufruf: MakeCorpus AUSGABEORDNER");
      System.exit(2);
    }
    Path outDir = Paths.get(args[0]);
    List<Case> cases = new ArrayList<>();
    cases.addAll(transfers("pain.001.001.03", "001-001-03"));
    cases.addAll(transfers("pain.001.001.09", "001-001-09"));
    cases.addAll(transfers("pain.001.003.03", "001-003-03"));
    cases.addAll(debits("pain.008.001.02", "008-001-02", false));
    cases.addAll(debits("pain.008.001.08", "008-001-08", true));
    cases.addAll(debits("pain.008.003.02", "008-003-02", false));
    for (Case c : cases) {
      try {
        write(c, outDir);
      } catch (Exception e) {
        throw new IllegalStateException(c.name() + ": " + e, e);
      }
    }
  }
}
