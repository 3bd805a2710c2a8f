// Another producer's pain files for bench/sepa-read.sh: the SEPA generators of
// Debian's libhbci4j-core-java write N payments of varied, real-looking data.
//   java -cp <classpath> PainGenerate 001 N OUT.xml    credit transfers, pain.001.001.09
//   java -cp <classpath> PainGenerate 008 N OUT.xml    CORE direct debits, pain.008.001.08
// Deterministic, so that runs compare. No postal addresses: the tool's reader
// takes none.
import java.io.BufferedOutputStream;
import java.io.FileOutputStream;
import java.io.OutputStream;
import java.math.BigInteger;
import java.util.Properties;
import java.util.Random;
import org.kapott.hbci.GV.generators.ISEPAGenerator;
import org.kapott.hbci.GV.generators.SEPAGeneratorFactory;
import org.kapott.hbci.callback.HBCICallbackIOStreams;
import org.kapott.hbci.manager.HBCIUtils;
import org.kapott.hbci.sepa.SepaVersion;

public final class PainGenerate {
  private static final String[] FIRST = {
    "Jürgen", "Anna", "Käthe", "Björn", "Sören", "Marie", "Lukas", "Zoë", "Ömer", "Greta"
  };
  private static final String[] LAST = {
    "Müller-Schmidt", "Schönfeld", "Großmann", "Übelacker", "Jäger", "Weiß", "Öztürk",
    "Bäcker", "Schröder", "Krüger", "Hoffmann", "Wagner"
  };
  private static final String[] FIRMS = {
    "Bäckerei", "Stadtwerke", "Autohaus", "Praxis Dr.", "Elektro", "Gärtnerei", "Verlag"
  };
  // Bank codes and BICs of real-looking German banks.
  private static final String[][] BANKS = {
    {"37040044", "COBADEFFXXX"}, {"10070000", "DEUTDEBBXXX"}, {"50010517", "INGDDEFFXXX"},
    {"76026000", "NORSDE71XXX"}, {"70150000", "SSKMDEMMXXX"}, {"20050550", "HASPDEHHXXX"},
    {"60050101", "SOLADEST600"}, {"12030000", "BYLADEM1001"}, {"43060967", "GENODEM1GLS"}
  };

  private PainGenerate() {}

  static String germanIban(String blz, long account) {
    String bban = blz + String.format("%010d", account);
    // ISO 7064 mod 97-10: "DE" as 1314 and check digits 00 after the BBAN.
    int check = 98 - new BigInteger(bban + "131400").mod(BigInteger.valueOf(97)).intValue();
    return String.format("DE%02d%s", check, bban);
  }

  public static void main(String[] args) throws Exception {
    Properties config = new Properties();
    config.setProperty("log.loglevel.default", "1");
    HBCIUtils.init(config, new HBCICallbackIOStreams(System.err, null));
    boolean debits = args[0].equals("008");
    int count = Integer.parseInt(args[1]);
    Random random = new Random(20261208);

    Properties p = new Properties();
    p.setProperty("sepaid", "ZOR-BENCH-" + args[0] + "-" + count);
    p.setProperty("pmtinfid", "ZOR-BENCH-PMT-1");
    p.setProperty("src.name", "Zor Lohnbüro GmbH");
    p.setProperty("src.iban", "DE89370400440532013000");
    p.setProperty("src.bic", "COBADEFFXXX");
    p.setProperty("batchbook", "1");
    if (debits) {
      p.setProperty("creditorid", "DE98ZZZ09999999999");
      p.setProperty("type", "CORE");
      p.setProperty("sequencetype", "RCUR");
      p.setProperty("targetdate", "2026-12-15");
    } else {
      p.setProperty("date", "2026-12-15");
    }
    for (int i = 0; i < count; ++i) {
      String[] bank = BANKS[random.nextInt(BANKS.length)];
      String name = random.nextInt(4) == 0
          ? FIRMS[random.nextInt(FIRMS.length)] + " " + LAST[random.nextInt(LAST.length)]
          : FIRST[random.nextInt(FIRST.length)] + " " + LAST[random.nextInt(LAST.length)];
      p.setProperty("dst[" + i + "].name", name);
      p.setProperty("dst[" + i + "].iban",
          germanIban(bank[0], 1 + (long) (random.nextDouble() * 9_999_999_998L)));
      // Most name the BIC, some leave it to the IBAN.
      if (random.nextInt(5) != 0) p.setProperty("dst[" + i + "].bic", bank[1]);
      int cents = 100 + random.nextInt(499_900);
      p.setProperty("btg[" + i + "].value", String.format("%d.%02d", cents / 100, cents % 100));
      p.setProperty("btg[" + i + "].curr", "EUR");
      p.setProperty("endtoendid[" + i + "]", String.format("E2E-2026-%07d", i + 1));
      p.setProperty("usage[" + i + "]", String.format(
          debits ? "Beitrag Dezember 2026, Mitglied %06d" : "Rechnung %06d vom 01.12.2026, Kunde %05d",
          random.nextInt(1_000_000), random.nextInt(100_000)));
      if (debits) {
        p.setProperty("mandateid[" + i + "]", String.format("MNDT-%08d", i + 1));
        p.setProperty("manddateofsig[" + i + "]",
            String.format("20%02d-%02d-%02d", 15 + random.nextInt(11), 1 + random.nextInt(12),
                1 + random.nextInt(28)));
      }
    }
    SepaVersion version = SepaVersion.byURN(
        debits ? "urn:iso:std:iso:20022:tech:xsd:pain.008.001.08"
               : "urn:iso:std:iso:20022:tech:xsd:pain.001.001.09");
    @SuppressWarnings("unchecked")
    ISEPAGenerator<Properties> generator =
        SEPAGeneratorFactory.get(debits ? "LastSEPA" : "UebSEPA", version);
    try (OutputStream out = new BufferedOutputStream(new FileOutputStream(args[2]), 1 << 20)) {
      generator.generate(p, out, false);
    }
  }
}
