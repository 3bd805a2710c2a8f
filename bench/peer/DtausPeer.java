// The Java peer of the whole-process comparison: the DTAUS classes of
// Debian's libhbci4j-core-java, a whole process each way as the tool's.
//   java -cp hbci4j-core.jar:. DtausPeer write PAYMENTS.csv OUT.dta
//   java -cp hbci4j-core.jar:. DtausPeer read FILE.dta LISTING.txt
// The CSV is bench/make_payments.py's: name,konto,blz,betrag,purpose 1,purpose 2.
import java.io.BufferedReader;
import java.io.BufferedWriter;
import java.io.FileOutputStream;
import java.io.OutputStreamWriter;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Paths;
import java.util.ArrayList;
import java.util.List;
import java.util.Properties;
import org.kapott.hbci.callback.HBCICallbackIOStreams;
import org.kapott.hbci.manager.HBCIUtils;
import org.kapott.hbci.structures.Konto;
import org.kapott.hbci.structures.Value;
import org.kapott.hbci.swift.DTAUS;

public class DtausPeer {
  public static void main(String[] args) throws Exception {
    initLibrary();
    if (args[0].equals("write")) {
      write(args[1], args[2]);
    } else {
      read(args[1], args[2]);
    }
  }

  // The library wants its configuration before it generates or parses; errors
  // only, and its log filter off (log.filter 0): no log line is searched for
  // secrets to mask.
  static void initLibrary() {
    Properties config = new Properties();
    config.setProperty("log.loglevel.default", "1");
    config.setProperty("log.filter", "0");
    HBCIUtils.init(config, new HBCICallbackIOStreams(System.err, null));
  }

  // The benchmark's cells: separated by commas, quoted where they hold one.
  static List<String> cells(String line) {
    List<String> cells = new ArrayList<>();
    StringBuilder cell = new StringBuilder();
    boolean quoted = false;
    for (int i = 0; i < line.length(); ++i) {
      char c = line.charAt(i);
      if (c == '"') {
        quoted = !quoted;
      } else if (c == ',' && !quoted) {
        cells.add(cell.toString());
        cell.setLength(0);
      } else {
        cell.append(c);
      }
    }
    cells.add(cell.toString());
    return cells;
  }

  static void write(String csv, String out) throws Exception {
    Konto client = new Konto("DE", "37040044", "532013000");
    client.name = "Zor Lohnbuero GmbH";
    DTAUS dtaus = new DTAUS(client, DTAUS.TYPE_CREDIT);
    try (BufferedReader in = Files.newBufferedReader(Paths.get(csv), StandardCharsets.UTF_8)) {
      in.readLine();
      for (String line; (line = in.readLine()) != null; ) {
        List<String> c = cells(line);
        DTAUS.Transaction t = dtaus.new Transaction();
        t.otherAccount = new Konto("DE", c.get(2), c.get(1));
        t.otherAccount.name = c.get(0);
        t.value = new Value(c.get(3).replace(",", "."), "EUR");
        t.key = "51";
        t.addUsage(c.get(4));
        t.addUsage(c.get(5));
        dtaus.addEntry(t);
      }
    }
    // Durable, as the tool's file is.
    try (FileOutputStream file = new FileOutputStream(out)) {
      file.write(dtaus.toString().getBytes(StandardCharsets.ISO_8859_1));
      file.getFD().sync();
    }
  }

  static void read(String dta, String listing) throws Exception {
    String text = new String(Files.readAllBytes(Paths.get(dta)), StandardCharsets.ISO_8859_1);
    DTAUS dtaus = new DTAUS(text);
    try (BufferedWriter out = new BufferedWriter(
             new OutputStreamWriter(new FileOutputStream(listing), StandardCharsets.UTF_8))) {
      for (DTAUS.Transaction t : dtaus.getEntries()) {
        out.write(t.otherAccount.name + ";" + t.otherAccount.number + ";" + t.otherAccount.blz
            + ";" + t.value + ";" + String.join("|", t.getUsage()) + "\n");
      }
    }
  }
}
