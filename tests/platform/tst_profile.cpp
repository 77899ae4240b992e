// Profile (INI) files: reading hand-written files, writing in place, and failing loudly.
#include "platform/profile/profilefile.h"
#include "tests/support/testregistry.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using platform::ProfileFile;

namespace {

QByteArray readBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// The hand-written fixture, copied into a temporary folder so that tests may write to it.
QString copyFixture(const QTemporaryDir& dir, const QString& name) {
    const QString target = dir.filePath(name);
    QFile::copy(QStringLiteral(QX_TEST_DATA_DIR "/profile/") + name, target);
    QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
    return target;
}

QByteArray crlf(const char* lfText) {
    return QByteArray(lfText).replace("\n", "\r\n");
}

}  // namespace

class TestProfileFile : public QObject {
    Q_OBJECT

private slots:
    void readsHandWrittenFile_data();
    void readsHandWrittenFile();
    void integerRules_data();
    void integerRules();
    void writesKeepEverythingElse();
    void freshFileLayout();
    void readsLfAndSignature();
    void stringsAreCutOnReading();
    void refusesWhatAFileCannotHold_data();
    void refusesWhatAFileCannotHold();
    void flushReportsFailure_data();
    void flushReportsFailure();
    void unreadableFileIsNeverReplaced();
    void unflushedWritesReachDiskOnDestruction();
};

void TestProfileFile::readsHandWrittenFile_data() {
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("defaultValue");
    QTest::addColumn<QString>("expected");

    QTest::newRow("hex, blanks and case; first key counts") << "nastaveni" << "autosaveInterval" << "int" << "60000" << "16";
    QTest::newRow("word gives default false") << "NASTAVENI" << "AUTOSAVETIMER" << "bool" << "0" << "0";
    QTest::newRow("word gives default true") << "nastaveni" << "autosavetimer" << "bool" << "1" << "1";
    QTest::newRow("2 is true") << "nastaveni zobrazeni" << "stavradek" << "bool" << "0" << "1";
    QTest::newRow("0 is false") << "Nastaveni Zobrazeni" << "pravitko" << "bool" << "1" << "0";
    QTest::newRow("negative colour code") << "nastaveni zobrazeni" << "barva programu" << "int" << "0" << "-16777201";
    QTest::newRow("dollar hex") << "velikost" << "vyskaformu" << "int" << "623" << "255";
    QTest::newRow("trailing garbage gives default") << "velikost" << "sirkaformu" << "int" << "969" << "969";
    QTest::newRow("string without blanks around it") << "velikost" << "mistosave" << "string" << "x"
                                                     << QStringLiteral("/home/jana/Dokumenty/Právní věci");
    QTest::newRow("unknown key kept readable") << "nastaveni" << "neznamy klic" << "string" << "" << "zachovat";
    QTest::newRow("missing key") << "velikost" << "bod1" << "int" << "100" << "100";
    QTest::newRow("missing section") << "nastaveni na plose" << "bod1" << "int" << "100" << "100";
    QTest::newRow("key of another section") << "nastaveni" << "x" << "string" << "def" << "def";
    QTest::newRow("comment is not a key") << "nastaveni" << "; my own note" << "string" << "def" << "def";
}

void TestProfileFile::readsHandWrittenFile() {
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, type);
    QFETCH(QString, defaultValue);
    QFETCH(QString, expected);

    const ProfileFile profile(QStringLiteral(QX_TEST_DATA_DIR "/profile/handwritten.cfg"));
    QString actual;
    if (type == QLatin1String("int"))
        actual = QString::number(profile.readInteger(section, key, defaultValue.toInt()));
    else if (type == QLatin1String("bool"))
        actual = profile.readBool(section, key, defaultValue == QLatin1String("1")) ? "1" : "0";
    else
        actual = profile.readString(section, key, defaultValue);
    QCOMPARE(actual, expected);
}

void TestProfileFile::integerRules_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("expected");

    QTest::newRow("0x") << "0x10" << true << 16;
    QTest::newRow("0X") << "0X1f" << true << 31;
    QTest::newRow("dollar") << "$FF" << true << 255;
    QTest::newRow("hex is a 32-bit pattern") << "0xFF00000F" << true << -16777201;
    QTest::newRow("all ones") << "$FFFFFFFF" << true << -1;
    QTest::newRow("hex overflow") << "0x100000000" << false << 0;
    QTest::newRow("leading zeros do not overflow") << "0x00000000000000FF" << true << 255;
    QTest::newRow("prefix alone") << "0x" << false << 0;
    QTest::newRow("dollar alone") << "$" << false << 0;
    QTest::newRow("negative decimal") << "-16777201" << true << -16777201;
    QTest::newRow("plus sign") << "+7" << true << 7;
    QTest::newRow("int max") << "2147483647" << true << 2147483647;
    QTest::newRow("int min") << "-2147483648" << true << int(-2147483647 - 1);
    QTest::newRow("decimal overflow") << "2147483648" << false << 0;
    QTest::newRow("signed hex") << "-0x10" << false << 0;
    QTest::newRow("sign alone") << "-" << false << 0;
    QTest::newRow("blank inside") << "1 2" << false << 0;
    QTest::newRow("fraction") << "1.5" << false << 0;
    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("word") << "yes" << false << 0;
    QTest::newRow("non-ASCII digits") << QStringLiteral("١٢") << false << 0;
}

void TestProfileFile::integerRules() {
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(int, expected);
    const std::optional<int> parsed = ProfileFile::parseInteger(text);
    QCOMPARE(parsed.has_value(), valid);
    if (valid)
        QCOMPARE(*parsed, expected);
}

void TestProfileFile::writesKeepEverythingElse() {
    QTemporaryDir dir;
    const QString path = copyFixture(dir, QStringLiteral("handwritten.cfg"));
    {
        ProfileFile profile(path);
        QVERIFY(profile.writeInteger(QStringLiteral("NASTAVENI"), QStringLiteral("autosaveinterval"), 500));
        QVERIFY(profile.writeBool(QStringLiteral("nastaveni zobrazeni"), QStringLiteral("novy"), true));
        QVERIFY(profile.writeString(QStringLiteral("velikost"), QStringLiteral("bod1"), QStringLiteral("x y")));
        QVERIFY(profile.writeInteger(QStringLiteral("nastaveni na plose"), QStringLiteral("bod2"), -3));
        QVERIFY(profile.writeString(QStringLiteral("velikost"), QStringLiteral("MISTOSAVE"), QStringLiteral("/tmp")));
        QVERIFY(profile.flush());
    }
    const QByteArray expected = crlf(
        "; Quillex settings, edited by hand\n"
        "\n"
        "[Nastaveni]\n"
        "  AutoSaveInterval =   500\n"
        "autosaveinterval=999\n"
        "autosavetimer=yes\n"
        "; my own note\n"
        "neznamy klic=zachovat\n"
        "\n"
        "[ nastaveni zobrazeni ]\n"
        "stavradek=2\n"
        "pravitko=0\n"
        "barva programu= -16777201\n"
        "novy=1\n"
        "[velikost]\n"
        "vyskaformu=$FF\n"
        "sirkaformu=12abc\n"
        "mistosave=  /tmp\n"
        "bod1=x y\n"
        "\n"
        "[jina sekce]\n"
        "x=1\n"
        "[nastaveni na plose]\n"
        "bod2=-3\n");
    QCOMPARE(readBytes(path), expected);
}

void TestProfileFile::freshFileLayout() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("VUR.cfg"));
    {
        // The order in which the main window saves its settings.
        ProfileFile profile(path);
        QVERIFY(profile.writeInteger("nastaveni", "autosaveInterval", 60000));
        QVERIFY(profile.writeInteger("velikost", "vyskaformu", 623));
        QVERIFY(profile.writeInteger("velikost", "sirkaformu", 969));
        QVERIFY(profile.writeString("nastaveni", "mistosave", QStringLiteral("/opt/quillex/Dokumenty č/")));
        QVERIFY(profile.writeBool("nastaveni", "autosavetimer", false));
        QVERIFY(profile.writeBool("nastaveni zobrazeni", "stavradek", true));
        QVERIFY(profile.writeBool("nastaveni zobrazeni", "pravitko", true));
        QVERIFY(profile.writeInteger("nastaveni zobrazeni", "barva programu", int(0xFF00000Fu)));
        QVERIFY(profile.writeBool("nastaveni upravy", "zalomeni radku", true));
        QVERIFY(profile.writeInteger("nastaveni upravy", "kolikrat zpet", 100));
        QVERIFY(profile.writeInteger("nastaveni na plose", "bod1", 100));
        QVERIFY(profile.writeInteger("nastaveni na plose", "bod2", 100));
        QVERIFY(profile.flush());
    }
    const QByteArray expected = crlf(
        "[nastaveni]\n"
        "autosaveInterval=60000\n"
        "mistosave=/opt/quillex/Dokumenty \xC4\x8D/\n"
        "autosavetimer=0\n"
        "[velikost]\n"
        "vyskaformu=623\n"
        "sirkaformu=969\n"
        "[nastaveni zobrazeni]\n"
        "stavradek=1\n"
        "pravitko=1\n"
        "barva programu=-16777201\n"
        "[nastaveni upravy]\n"
        "zalomeni radku=1\n"
        "kolikrat zpet=100\n"
        "[nastaveni na plose]\n"
        "bod1=100\n"
        "bod2=100\n");
    QCOMPARE(readBytes(path), expected);

    const ProfileFile reread(path);
    QCOMPARE(reread.readString("nastaveni", "mistosave", {}), QStringLiteral("/opt/quillex/Dokumenty č/"));
    QCOMPARE(reread.readInteger("nastaveni zobrazeni", "barva programu", 0), -16777201);
    QCOMPARE(reread.readBool("nastaveni", "autosavetimer", true), false);
}

void TestProfileFile::readsLfAndSignature() {
    QTemporaryDir dir;
    const QString path = copyFixture(dir, QStringLiteral("lf-only.cfg"));
    ProfileFile lf(path);
    QCOMPARE(lf.readInteger("nastaveni", "autosaveInterval", 0), 5000);
    QCOMPARE(lf.readInteger("nastaveni", "bod1", 0), 31);
    QCOMPARE(lf.readInteger("velikost", "vyskaformu", 0), 700);
    QVERIFY(lf.writeInteger("velikost", "sirkaformu", 800));
    QVERIFY(lf.flush());
    QCOMPARE(readBytes(path), crlf("[nastaveni]\nautosaveInterval=5000\nbod1=0X1f\n\n[velikost]\nvyskaformu=700\nsirkaformu=800\n"));

    // A UTF-8 signature does not hide the first section and is written back.
    const QString signed_ = dir.filePath(QStringLiteral("signed.cfg"));
    writeBytes(signed_, "\xEF\xBB\xBF[velikost]\r\nvyskaformu=1\r\n");
    ProfileFile withSignature(signed_);
    QCOMPARE(withSignature.readInteger("velikost", "vyskaformu", 0), 1);
    QVERIFY(withSignature.writeInteger("velikost", "vyskaformu", 2));
    QVERIFY(withSignature.flush());
    QCOMPARE(readBytes(signed_), QByteArray("\xEF\xBB\xBF[velikost]\r\nvyskaformu=2\r\n"));
}

void TestProfileFile::stringsAreCutOnReading() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("long.cfg"));
    const QString longValue = QString(2046, QChar(u'ř')) + QStringLiteral("\U0001F600") + QStringLiteral("konec");
    const QString exact = QString(2047, QChar(u'a'));
    {
        ProfileFile profile(path);
        QVERIFY(profile.writeString("s", "long", longValue));
        QVERIFY(profile.writeString("s", "exact", exact));
        QVERIFY(profile.flush());
    }
    QVERIFY(readBytes(path).contains(longValue.toUtf8()));  // written whole
    const ProfileFile reread(path);
    // 2047 characters would end inside the emoji's surrogate pair: the half is not handed out.
    QCOMPARE(reread.readString("s", "long", {}), QString(2046, QChar(u'ř')));
    QCOMPARE(reread.readString("s", "exact", {}), exact);
}

void TestProfileFile::refusesWhatAFileCannotHold_data() {
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");

    QTest::newRow("line break in value") << "s" << "k" << "a\r\n[injected]\r\nx=1";
    QTest::newRow("LF in value") << "s" << "k" << "a\nb";
    QTest::newRow("equals sign in key") << "s" << "a=b" << "v";
    QTest::newRow("key that reads as a section") << "s" << "[k" << "v";
    QTest::newRow("key that reads as a comment") << "s" << ";k" << "v";
    QTest::newRow("blank key") << "s" << "  " << "v";
    QTest::newRow("bracket in section") << "a]b" << "k" << "v";
    QTest::newRow("empty section") << "" << "k" << "v";
    QTest::newRow("line break in section") << "a\nb" << "k" << "v";
}

void TestProfileFile::refusesWhatAFileCannotHold() {
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("p.cfg"));
    const QByteArray before("[s]\r\nk=old\r\n");
    writeBytes(path, before);
    ProfileFile profile(path);
    QVERIFY(!profile.writeString(section, key, value));
    QVERIFY(profile.flush());
    QCOMPARE(readBytes(path), before);
}

void TestProfileFile::flushReportsFailure_data() {
    QTest::addColumn<QString>("folderKind");
    QTest::newRow("folder missing") << "missing";
    QTest::newRow("folder is a regular file") << "file";
    QTest::newRow("folder write-protected") << "protected";
}

void TestProfileFile::flushReportsFailure() {
    QFETCH(QString, folderKind);
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("config"));
    if (folderKind == QLatin1String("file")) {
        writeBytes(folder, "not a folder");
    } else if (folderKind == QLatin1String("protected")) {
        QVERIFY(QDir().mkdir(folder));
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
        if (::access(QFile::encodeName(folder).constData(), W_OK) == 0)
            QSKIP("permissions do not restrict this user (root)");
    }
    const QString path = folder + QStringLiteral("/VUR.cfg");

    ProfileFile profile(path);
    profile.writeInteger("velikost", "vyskaformu", 623);
    QVERIFY(!profile.flush());
    QVERIFY(!QFile::exists(path));
    // Until a flush succeeds, every write reports that its value is not safe on disk.
    QVERIFY(!profile.writeInteger("velikost", "sirkaformu", 969));
    QVERIFY(!profile.flush());

    // Once the folder can take the file, everything written so far arrives.
    if (folderKind == QLatin1String("file"))
        QVERIFY(QFile::remove(folder));
    if (folderKind == QLatin1String("protected"))
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    else
        QVERIFY(QDir().mkdir(folder));
    QVERIFY(profile.flush());
    QVERIFY(profile.writeInteger("velikost", "bod1", 1));
    QVERIFY(profile.flush());
    QCOMPARE(readBytes(path), crlf("[velikost]\nvyskaformu=623\nsirkaformu=969\nbod1=1\n"));
}

void TestProfileFile::unreadableFileIsNeverReplaced() {
    QTemporaryDir dir;
    // A folder where the file should be cannot be read as a profile.
    const QString folderPath = dir.filePath(QStringLiteral("folder.cfg"));
    QVERIFY(QDir().mkdir(folderPath));
    ProfileFile folderProfile(folderPath);
    QCOMPARE(folderProfile.readInteger("velikost", "vyskaformu", 623), 623);
    QVERIFY(!folderProfile.writeInteger("velikost", "vyskaformu", 1));
    QVERIFY(!folderProfile.flush());
    QVERIFY(QFileInfo(folderPath).isDir());

    // A file too large to be a profile is not read, and not cut down to what was written.
    const QString hugePath = dir.filePath(QStringLiteral("huge.cfg"));
    QByteArray huge("[velikost]\r\nvyskaformu=1\r\n");
    huge += QByteArray(ProfileFile::kMaxFileSize, ';');
    writeBytes(hugePath, huge);
    {
        ProfileFile hugeProfile(hugePath);
        QCOMPARE(hugeProfile.readInteger("velikost", "vyskaformu", 623), 623);
        QVERIFY(!hugeProfile.writeInteger("velikost", "vyskaformu", 2));
        QVERIFY(!hugeProfile.flush());
    }
    QCOMPARE(QFileInfo(hugePath).size(), huge.size());
}

void TestProfileFile::unflushedWritesReachDiskOnDestruction() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("p.cfg"));
    {
        ProfileFile profile(path);
        QVERIFY(profile.writeInteger("s", "k", 7));
    }
    QCOMPARE(ProfileFile(path).readInteger("s", "k", 0), 7);
}

QX_REGISTER_TEST(TestProfileFile)
#include "tst_profile.moc"
