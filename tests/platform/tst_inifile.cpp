#include "platform/IniFile.h"
#include "TestFiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using testlib::utf16WithByteOrderMark;
using testlib::writeBytes;

namespace {

const QString fallback = QStringLiteral("<default>");

} // namespace

class TestIniFile : public QObject
{
    Q_OBJECT

private slots:
    void readsLikeWindowsProfiles_data();
    void readsLikeWindowsProfiles();
    void missingFileGivesDefault();
    void rereadsFileOnEveryCall();

private:
    QTemporaryDir m_dir;
};

void TestIniFile::readsLikeWindowsProfiles_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");

    const QByteArray company = "[USERID]\r\nUser=anna\r\n[SELCOMPANY]\r\nCompany=VL01\r\n";
    QTest::newRow("plain value") << company << "SELCOMPANY"
                                 << "Company"
                                 << "VL01";
    QTest::newRow("section and key without regard to case") << company << "selcompany"
                                                            << "COMPANY"
                                                            << "VL01";
    QTest::newRow("key of another section is not seen") << company << "USERID"
                                                        << "Company" << fallback;
    QTest::newRow("missing section") << company << "SELENTITY"
                                     << "Entity" << fallback;
    QTest::newRow("missing key") << company << "SELCOMPANY"
                                 << "Entity" << fallback;
    QTest::newRow("empty value is not the default") << QByteArray("[S]\nCompany=\n") << "S"
                                                    << "Company"
                                                    << "";
    QTest::newRow("blanks and tabs around section, key and value")
        << QByteArray("  [ SELCOMPANY ]  \n \t Company \t=\t  VL 01 \t \n") << "SELCOMPANY"
        << "Company"
        << "VL 01";
    QTest::newRow("section asked for with blanks") << company << " SELCOMPANY "
                                                   << " Company"
                                                   << "VL01";
    QTest::newRow("double quotes removed, blanks inside kept") << QByteArray("[S]\nk = \"  VL01 \" \n") << "S"
                                                               << "k"
                                                               << "  VL01 ";
    QTest::newRow("single quotes removed") << QByteArray("[S]\nk='VL01'\n") << "S"
                                           << "k"
                                           << "VL01";
    QTest::newRow("only one pair of quotes removed") << QByteArray("[S]\nk=\"\"VL01\"\"\n") << "S"
                                                     << "k"
                                                     << "\"VL01\"";
    QTest::newRow("a pair of quotes alone gives empty") << QByteArray("[S]\nk=''\n") << "S"
                                                        << "k"
                                                        << "";
    QTest::newRow("a lone quote is kept") << QByteArray("[S]\nk=\"\n") << "S"
                                          << "k"
                                          << "\"";
    QTest::newRow("unmatched quote kept") << QByteArray("[S]\nk=\"VL01\n") << "S"
                                          << "k"
                                          << "\"VL01";
    QTest::newRow("mismatched quotes kept") << QByteArray("[S]\nk='VL01\"\n") << "S"
                                            << "k"
                                            << "'VL01\"";
    QTest::newRow("quotes inside kept") << QByteArray("[S]\nk=say \"hi\" now\n") << "S"
                                        << "k"
                                        << "say \"hi\" now";
    QTest::newRow("commas, backslashes, ';', '#' and '=' kept as they are")
        << QByteArray("[ZRVELORA GALLERY]\nZRVLGALLERYHOME=C:\\Pics\\a,b;c#d\\n=e\\\n") << "ZRVELORA GALLERY"
        << "ZRVLGALLERYHOME"
        << "C:\\Pics\\a,b;c#d\\n=e\\";
    QTest::newRow("first of a repeated key wins") << QByteArray("[S]\nk=first\nK=second\n") << "S"
                                                  << "k"
                                                  << "first";
    QTest::newRow("repeated section is read too")
        << QByteArray("[S]\na=1\n[T]\nk=t\n[s]\nk=second s\n") << "S"
        << "k"
        << "second s";
    QTest::newRow("comment lines are not keys") << QByteArray("[S]\n;k=commented\n  ; k=indented\n") << "S"
                                                << ";k" << fallback;
    QTest::newRow("lines without '=' are skipped") << QByteArray("[S]\nnoise\nk=v\n") << "S"
                                                   << "k"
                                                   << "v";
    QTest::newRow("keys before any section belong to none") << QByteArray("k=orphan\n[S]\n") << "S"
                                                            << "k" << fallback;
    QTest::newRow("value cut to 2047 characters") << "[S]\nk=\"" + QByteArray(3000, 'x') + "\"\n"
                                                  << "S"
                                                  << "k" << QString(2047, u'x');
    QTest::newRow("2047 characters kept whole") << "[S]\nk=" + QByteArray(2047, 'y') + "\n"
                                                << "S"
                                                << "k" << QString(2047, u'y');
    QTest::newRow("no line end after the last value") << QByteArray("[S]\nk=last") << "S"
                                                      << "k"
                                                      << "last";
    QTest::newRow("UTF-8 without byte-order mark") << QByteArray("[S]\nk=Zürich\n") << "S"
                                                   << "k"
                                                   << "Zürich";
    QTest::newRow("UTF-8 with byte-order mark, section on the first line")
        << QByteArray("\xEF\xBB\xBF[S]\r\nk=Zürich\r\n") << "S"
        << "k"
        << "Zürich";
    QTest::newRow("UTF-16LE with byte-order mark")
        << utf16WithByteOrderMark(QStringLiteral("[S]\r\nk = Zürich \r\n"), false) << "S"
        << "k"
        << "Zürich";
    QTest::newRow("UTF-16BE with byte-order mark")
        << utf16WithByteOrderMark(QStringLiteral("[S]\r\nk=Zürich\r\n"), true) << "S"
        << "k"
        << "Zürich";
    QTest::newRow("single-byte code page") << QByteArray("[S]\nk=Z\xFCrich\n") << "S"
                                           << "k"
                                           << "Zürich";
}

void TestIniFile::readsLikeWindowsProfiles()
{
    QFETCH(QByteArray, contents);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);

    const QString path = m_dir.filePath(QStringLiteral("IniVelora.ini"));
    QVERIFY(writeBytes(path, contents));
    QCOMPARE(platform::IniFile(path).readString(section, key, fallback), expected);
}

void TestIniFile::missingFileGivesDefault()
{
    const platform::IniFile ini(m_dir.filePath(QStringLiteral("ZRVeloraGallery.ini")));
    QCOMPARE(ini.readString(QStringLiteral("ZRVELORA GALLERY"), QStringLiteral("ZRVLGALLERYHOME"),
                            QStringLiteral("Path not found. Please define it")),
             QStringLiteral("Path not found. Please define it"));
}

void TestIniFile::rereadsFileOnEveryCall()
{
    const QString path = m_dir.filePath(QStringLiteral("changing.ini"));
    const platform::IniFile ini(path);
    QCOMPARE(ini.readString(QStringLiteral("S"), QStringLiteral("k"), fallback), fallback);
    QVERIFY(writeBytes(path, "[S]\nk=one\n"));
    QCOMPARE(ini.readString(QStringLiteral("S"), QStringLiteral("k"), fallback), QStringLiteral("one"));
    QVERIFY(writeBytes(path, "[S]\nk=two\n"));
    QCOMPARE(ini.readString(QStringLiteral("S"), QStringLiteral("k"), fallback), QStringLiteral("two"));
}

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
