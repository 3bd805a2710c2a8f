// Reads a pain file with a parser that owes nothing to ours and prints every
// transaction as one JSON object a line, so a test can hold our files against what
// was meant to be written.
//
// The parser's property names and the keys we print for them (a key is left out
// when the parser gives nothing for it; it fills in FRST and CORE itself when a
// debit names no sequence type or local instrument):
//
//   (detected version)  version            e.g. "pain.008.001.08"
//   pmtinfid            payment_info_id
//   batchbook           batch_booking      "true" / "false"
//   src.name            initiator_name     the initiating party (group header)
//   src.iban, src.bic   own_iban, own_bic  our account: debtor's of a transfer,
//                                          creditor's of a debit
//   dst.name            party_name         creditor of a transfer, debtor of a debit
//   dst.iban, dst.bic   party_iban, party_bic
//   value, curr         amount, currency   amount as the file has it ("12.50")
//   date                execution_date     transfers, yyyy-MM-dd
//   targetdate          collection_date    debits, yyyy-MM-dd
//   endtoendid          end_to_end_id
//   usage               remittance         unstructured lines joined by "\n"
//   purposecode         purpose_code
//   mandateid           mandate_id
//   manddateofsig       mandate_signed     yyyy-MM-dd
//   sequencetype        sequence_type      FRST, RCUR, OOFF, FNAL
//   creditorid          creditor_id
//   type                local_instrument   CORE, COR1, B2B
//
// Exit 0 when the file was read, 1 with the reason on stderr otherwise.

import java.io.BufferedInputStream;
import java.io.ByteArrayInputStream;
import java.io.InputStream;
import java.nio.file.Files;
import java.nio.file.Paths;
import java.util.ArrayList;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Map;
import java.util.Properties;
import org.kapott.hbci.GV.parsers.ISEPAParser;
import org.kapott.hbci.GV.parsers.SEPAParserFactory;
import org.kapott.hbci.callback.HBCICallbackIOStreams;
import org.kapott.hbci.manager.HBCIUtils;
import org.kapott.hbci.sepa.SepaVersion;

public final class PainPeer {
  private static final Map<String, String> KEYS = new LinkedHashMap<>();

  static {
    KEYS.put("pmtinfid", "payment_info_id");
    KEYS.put("batchbook", "batch_booking");
    KEYS.put("src.name", "initiator_name");
    KEYS.put("src.iban", "own_iban");
    KEYS.put("src.bic", "own_bic");
    KEYS.put("dst.name", "party_name");
    KEYS.put("dst.iban", "party_iban");
    KEYS.put("dst.bic", "party_bic");
    KEYS.put("value", "amount");
    KEYS.put("curr", "currency");
    KEYS.put("date", "execution_date");
    KEYS.put("targetdate", "collection_date");
    KEYS.put("endtoendid", "end_to_end_id");
    KEYS.put("usage", "remittance");
    KEYS.put("purposecode", "purpose_code");
    KEYS.put("mandateid", "mandate_id");
    KEYS.put("manddateofsig", "mandate_signed");
    KEYS.put("sequencetype", "sequence_type");
    KEYS.put("creditorid", "creditor_id");
    KEYS.put("type", "local_instrument");
  }

  private PainPeer() {}

  public static void main(String[] args) {
    if (args.length != 1) {
      System.err.println("Aufruf: PainPeer PAIN-DATEI");
      System.exit(2);
    }
    try {
      System.out.print(read(Files.readAllBytes(Paths.get(args[0]))));
      System.out.flush();
    } catch (Throwable e) {
      System.err.println(args[0] + ": nicht lesbar: " + describe(e));
      System.exit(1);
    }
  }

  private static String read(byte[] file) throws Exception {
    // The parser factory logs through the library's framework, which must be set
    // up first; its log goes to stderr, errors only.
    Properties config = new Properties();
    config.setProperty("log.loglevel.default", "1");
    HBCIUtils.init(config, new HBCICallbackIOStreams(System.err, null));
    SepaVersion version = SepaVersion.autodetect(new ByteArrayInputStream(file));
    if (version == null) {
      throw new IllegalArgumentException("unbekannter Namensraum");
    }
    if (!version.canParse()) {
      throw new IllegalArgumentException(version.getURN() + " wird nicht gelesen");
    }
    @SuppressWarnings("unchecked")
    ISEPAParser<List<Properties>> parser = SEPAParserFactory.get(version);
    List<Properties> transactions = new ArrayList<>();
    try (InputStream in = new BufferedInputStream(new ByteArrayInputStream(file))) {
      parser.parse(in, transactions);
    }
    if (transactions.isEmpty()) {
      throw new IllegalArgumentException("keine Zahlung gefunden");
    }
    String versionName = version.getFile().replaceAll("\\.xsd$", "");
    StringBuilder out = new StringBuilder();
    for (Properties transaction : transactions) {
      out.append(toJson(versionName, transaction)).append('\n');
    }
    return out.toString();
  }

  private static String toJson(String versionName, Properties transaction) {
    for (String name : transaction.stringPropertyNames()) {
      if (!KEYS.containsKey(name)) {
        throw new IllegalStateException("unbekannte Eigenschaft " + name);
      }
    }
    StringBuilder json = new StringBuilder("{\"version\": ").append(quote(versionName));
    for (Map.Entry<String, String> key : KEYS.entrySet()) {
      String value = transaction.getProperty(key.getKey());
      if (value != null) {
        json.append(", ").append(quote(key.getValue())).append(": ").append(quote(value));
      }
    }
    return json.append('}').toString();
  }

  // Everything beyond ASCII is escaped, so the output does not hang on the locale.
  private static String quote(String text) {
    String normalised = text.replace(System.lineSeparator(), "\n");
    StringBuilder quoted = new StringBuilder("\"");
    for (char c : normalised.toCharArray()) {
      if (c == '"' || c == '\\') {
        quoted.append('\\').append(c);
      } else if (c < 0x20 || c > 0x7e) {
        quoted.append(String.format("\\u%04x", (int) c));
      } else {
        quoted.append(c);
      }
    }
    return quoted.append('"').toString();
  }

  private static String describe(Throwable e) {
    StringBuilder text = new StringBuilder(e.toString());
    for (Throwable cause = e.getCause(); cause != null; cause = cause.getCause()) {
      text.append(" <- ").append(cause);
    }
    return text.toString();
  }
}
