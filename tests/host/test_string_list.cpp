// Reading a line without a copy and adding a temporary: the string list lends
// and takes over its own lines, any other list answers through the defaults.
#include <gtest/gtest.h>

#include "support/PlainList.h"
#include "support/TestSupport.h"
#include "zordta/host/Classes.h"

namespace {

TEST(StringList, LinesAreLentByTheListAndCopiedByTheDefault) {
  zor::TStringList list;
  zortest::PlainList plain;
  for (zor::TStrings* lines :
       {static_cast<zor::TStrings*>(&list), static_cast<zor::TStrings*>(&plain)}) {
    const zor::String second = ZT("zweite Zeile, länger als ein kurzer Text");
    lines->Add(ZT("erste"));
    lines->Add(zor::String(second));  // a temporary
    EXPECT_EQ(lines->Count(), 2);
    zor::String scratch = ZT("alt");
    EXPECT_EQ(lines->StringsRef(1, scratch), second);
    EXPECT_EQ(lines->Text(), ZT("erste\r\n") + second + ZT("\r\n"));
  }
  EXPECT_EQ(plain.inserts, 2) << "the default Add of a temporary goes through Insert";

  zor::String scratch;
  EXPECT_NE(&list.StringsRef(0, scratch), &scratch) << "the string list lends its own line";
  EXPECT_EQ(&plain.StringsRef(0, scratch), &scratch);
  EXPECT_EQ(scratch, ZT("erste"));
  EXPECT_THROW_MESSAGE(list.StringsRef(2, scratch),
                       ZT("Listenindex überschreitet das Maximum (2)."));
}

}  // namespace
