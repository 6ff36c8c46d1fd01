#include "app/FailureCause.h"

#include <gtest/gtest.h>

namespace {

TEST(FailureCauseTest, TheCommonCausesGetAJapaneseLineBeforeTheTechnicalOne) {
    const struct {
        const char* technical;
        const char* cause; // empty: none fits
    } cases[] = {
        {"cannot create a temporary file beside /no/such/out.x: No such file or directory",
         "ファイルまたはフォルダーが見つかりません。"},
        {"walker.x: cannot open the file (No such file or directory)",
         "ファイルまたはフォルダーが見つかりません。"},
        {"cannot create a temporary file beside /ro/out.x: Permission denied",
         "このファイルまたはフォルダーに書き込む(読み込む)権限がありません。"},
        {"cannot write /mnt/out.x.tmp: Read-only file system",
         "このファイルまたはフォルダーに書き込む(読み込む)権限がありません。"},
        {"cannot write /full/out.x.tmp: No space left on device",
         "ディスクの空き容量が足りません。"},
        {"cut.x:12: expected '}' to close the object opened here, found end of file",
         "ファイルが途中で終わっています(壊れているか、書き込みの途中です)。"},
        {"photo.x:1: expected 'xof ' at the start of the file, found '\\x89PNG'",
         "X ファイル (.x) ではありません。"},
        {"a.x:3: expected a number, found 'abc'", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FailureCause::Explain(c.technical), QString::fromUtf8(c.cause)) << c.technical;
        const QString lines = FailureCause::DetailLines(c.technical);
        if (*c.cause != '\0') {
            EXPECT_EQ(lines, QString::fromUtf8(c.cause) + QLatin1Char('\n') +
                                 QString::fromUtf8(c.technical));
        } else {
            EXPECT_EQ(lines, QString::fromUtf8(c.technical));
        }
    }
}

} // namespace
