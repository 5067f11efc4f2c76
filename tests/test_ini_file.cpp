#include "persist/IniFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "QtPrinters.h"
#include "TestFiles.h"

TEST(IniFile, ReadsTheFormatsRulesWithAndWithoutByteOrderMark)
{
    for (const QByteArray &bom : {QByteArray(), QByteArray("\xEF\xBB\xBF")}) {
        IniFile ini;
        ini.parse(bom + "ignored=before any section\n"
                        "  [ MAIN ]  \r\n"
                        "; a comment=no\r\n"
                        "\r\n"
                        "  Шаг =  3 \r\n"
                        "Файл:=C:\\Звук\\a=b.wav\n"
                        "no equals sign\r"
                        "Шаг=7\r\n"
                        "[Other]\n"
                        "key=\t value with inner  blanks\t\n"
                        "nbsp=\xC2\xA0x\xC2\xA0\n");
        EXPECT_EQ(ini.value("MAIN", "Шаг"), "3") << "the first of two equal keys counts";
        EXPECT_EQ(ini.value("main", "шаг"), "3") << "names are found regardless of case";
        EXPECT_EQ(ini.value("MAIN", "Файл:"), "C:\\Звук\\a=b.wav") << "the value runs from the first =";
        EXPECT_TRUE(ini.contains("MAIN", "no equals sign"));
        EXPECT_FALSE(ini.contains("MAIN", "; a comment"));
        EXPECT_FALSE(ini.contains("MAIN", "ignored"));
        EXPECT_EQ(ini.value("Other", "key"), "value with inner  blanks");
        EXPECT_EQ(ini.value("Other", "nbsp"), QStringLiteral("\u00A0x\u00A0")) << "only blanks are trimmed";
        EXPECT_EQ(ini.value("Other", "missing", "default"), "default");
        EXPECT_EQ(ini.value("Missing", "key", "d"), "d");
    }
}

TEST(IniFile, WritesWholeWithByteOrderMarkCrLfAndKeysInFirstSeenOrder)
{
    IniFile ini;
    ini.parse("[B]\nz=1\na=2\n[A]\nk=v\nunknown=stays\n");
    ini.setValue("A", "k", "new");
    ini.setValue("B", "m", "3");  // new keys go to the end of their section
    ini.setValue("C", "x", "");   // new sections at the end
    ini.setValue("b", "Z", "10"); // an existing key keeps its place and its spelling
    EXPECT_EQ(ini.toBytes(), QByteArray("\xEF\xBB\xBF"
                                        "[B]\r\nz=10\r\na=2\r\nm=3\r\n\r\n"
                                        "[A]\r\nk=new\r\nunknown=stays\r\n\r\n"
                                        "[C]\r\nx=\r\n\r\n"));
    // What is written reads back the same, and writes the same again.
    IniFile again;
    again.parse(ini.toBytes());
    EXPECT_EQ(again.toBytes(), ini.toBytes());
}

// A comment with line breaks once split its line: the second line could even open a section.
TEST(IniFile, ValuesWithLineBreaksReadBackUnchanged)
{
    const QStringList values{"first line\n[MAIN]\nFile:=x",
                             "a\r\nb\rc\n",
                             "back\\slash\nn",
                             "\n",
                             QStringLiteral("\uE000starts with the mark"),
                             "  blanks kept inside\n  "};
    IniFile ini;
    for (int i = 0; i < values.size(); ++i) ini.setValue("BOOKMARKS", QStringLiteral("BM%1-2").arg(i + 1), values[i]);
    ini.setValue("BOOKMARKS", "plain", "no break: written as it is");
    const QByteArray bytes = ini.toBytes();
    EXPECT_EQ(bytes.count("\r\n"), 1 + values.size() + 1 + 1) << bytes.toStdString();
    EXPECT_TRUE(bytes.contains("plain=no break: written as it is\r\n"));
    IniFile back;
    back.parse(bytes);
    for (int i = 0; i < values.size(); ++i)
        EXPECT_EQ(back.value("BOOKMARKS", QStringLiteral("BM%1-2").arg(i + 1)), values[i]) << i;
    EXPECT_FALSE(back.contains("MAIN", "File:"));
}

TEST(IniFile, SaveWritesTheWholeFileAndReportsAFailure)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("setting.ini");
    IniFile missing;
    EXPECT_TRUE(missing.load(path)) << "a missing file reads as empty";
    EXPECT_FALSE(missing.contains("MAIN", "Шаг"));
    missing.setValue("MAIN", "Шаг", "1");
    ASSERT_TRUE(missing.save()) << missing.error().toStdString();
    EXPECT_EQ(ReadFile(path), QByteArray("\xEF\xBB\xBF[MAIN]\r\nШаг=1\r\n\r\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"setting.ini"}) << "no temporary file stays";

    // A folder that is not there: the save fails and says why.
    IniFile nowhere;
    ASSERT_TRUE(nowhere.load(dir.filePath("gone/setting.ini")));
    nowhere.setValue("MAIN", "Шаг", "2");
    EXPECT_FALSE(nowhere.save());
    EXPECT_FALSE(nowhere.error().isEmpty());

    // A file that exists and cannot be read is an error, not an empty document.
    const QString folder = dir.filePath("a folder.ini");
    ASSERT_TRUE(QDir().mkdir(folder));
    IniFile unreadable;
    EXPECT_FALSE(unreadable.load(folder));
    EXPECT_FALSE(unreadable.error().isEmpty());
    EXPECT_FALSE(IniFile::Update(folder, "Педали", {{"Левая", "Нет"}}));
    EXPECT_TRUE(QFileInfo(folder).isDir()) << "an unreadable file is left as it is";

    // One section's keys set in place, everything else kept.
    ASSERT_TRUE(IniFile::Update(path, "Педали", {{"Левая", "Нет"}, {"Правая", "Закладка"}}));
    EXPECT_EQ(ReadFile(path),
              QByteArray("\xEF\xBB\xBF[MAIN]\r\nШаг=1\r\n\r\n[Педали]\r\nЛевая=Нет\r\nПравая=Закладка\r\n\r\n"));
}

TEST(IniFile, AThousandBookmarksRoundTrip)
{
    IniFile ini;
    for (int i = 1; i <= 1000; ++i) {
        ini.setValue("BOOKMARKS", QStringLiteral("BM%1-1").arg(i), QStringLiteral("00:%1:00.000").arg(i % 60));
        ini.setValue("BOOKMARKS", QStringLiteral("BM%1-2").arg(i), QStringLiteral("Комментарий # %1").arg(i));
        ini.setValue("BOOKMARKS", QStringLiteral("BM%1-3").arg(i), QString::number(i));
    }
    IniFile back;
    back.parse(ini.toBytes());
    EXPECT_EQ(back.value("BOOKMARKS", "BM1000-2"), "Комментарий # 1000");
    EXPECT_EQ(back.value("BOOKMARKS", "BM1-3"), "1");
    EXPECT_EQ(back.toBytes(), ini.toBytes());
}
