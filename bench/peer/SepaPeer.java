// The SEPA side of the whole-process comparison: the SEPA generator and parser
// of Debian's libhbci4j-core-java, a whole process each way as the tool's.
//   java -cp <classpath> SepaPeer write PAYMENTS.csv OUT.xml    pain.001.001.09, durable
//   java -cp <classpath> SepaPeer read FILE.xml LISTING.txt     name;iban;amount a payment
// The CSV is bench/make_payments.py --sepa's: name,iban,betrag,purpose 1,purpose 2.
import java.io.BufferedInputStream;
import java.io.BufferedOutputStream;
import java.io.BufferedReader;
import java.io.BufferedWriter;
import java.io.FileInputStream;
import java.io.FileOutputStream;
import java.io.InputStream;
import java.io.OutputStreamWriter;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Paths;
import java.util.ArrayList;
import java.util.List;
import java.util.Properties;
import org.kapott.hbci.GV.generators.ISEPAGenerator;
import org.kapott.hbci.GV.generators.SEPAGeneratorFactory;
import org.kapott.hbci.GV.parsers.ISEPAParser;
import org.kapott.hbci.GV.parsers.SEPAParserFactory;
import org.kapott.hbci.sepa.SepaVersion;

public final class SepaPeer {
  private static final String URN = "urn:iso:std:iso:20022:tech:xsd:pain.001.001.09";

  private SepaPeer() {}

  public static void main(String[] args) throws Exception {
    DtausPeer.initLibrary();
    if (args[0].equals("write")) {
      write(args[1], args[2]);
    } else {
      read(args[1], args[2]);
    }
  }

  static void write(String csv, String out) throws Exception {
    Properties p = new Properties();
    p.setProperty("sepaid", "ZOR-PEER-1");
    p.setProperty("pmtinfid", "ZOR-PEER-PMT-1");
    p.setProperty("src.name", "Zor Lohnbuero GmbH");
    p.setProperty("src.iban", "DE89370400440532013000");
    p.setProperty("src.bic", "COBADEFFXXX");
    p.setProperty("batchbook", "1");
    p.setProperty("date", "2026-12-15");
    try (BufferedReader in = Files.newBufferedReader(Paths.get(csv), StandardCharsets.UTF_8)) {
      in.readLine();
      int i = 0;
      for (String line; (line = in.readLine()) != null; ++i) {
        List<String> c = DtausPeer.cells(line);
        p.setProperty("dst[" + i + "].name", c.get(0));
        p.setProperty("dst[" + i + "].iban", c.get(1));
        p.setProperty("btg[" + i + "].value", c.get(2).replace(",", "."));
        p.setProperty("btg[" + i + "].curr", "EUR");
        p.setProperty("usage[" + i + "]", c.get(3) + " " + c.get(4));
      }
    }
    @SuppressWarnings("unchecked")
    ISEPAGenerator<Properties> generator =
        SEPAGeneratorFactory.get("UebSEPA", SepaVersion.byURN(URN));
    // Durable, as the tool's file is.
    try (FileOutputStream file = new FileOutputStream(out);
         BufferedOutputStream buffered = new BufferedOutputStream(file, 1 << 20)) {
      generator.generate(p, buffered, false);
      buffered.flush();
      file.getFD().sync();
    }
  }

  static void read(String xml, String listing) throws Exception {
    @SuppressWarnings("unchecked")
    ISEPAParser<List<Properties>> parser = SEPAParserFactory.get(SepaVersion.byURN(URN));
    List<Properties> payments = new ArrayList<>();
    try (InputStream in = new BufferedInputStream(new FileInputStream(xml), 1 << 20)) {
      parser.parse(in, payments);
    }
    try (BufferedWriter out = new BufferedWriter(
             new OutputStreamWriter(new FileOutputStream(listing), StandardCharsets.UTF_8))) {
      for (Properties t : payments) {
        out.write(t.getProperty("dst.name") + ";" + t.getProperty("dst.iban") + ";"
            + t.getProperty("value") + "\n");
      }
    }
  }
}
