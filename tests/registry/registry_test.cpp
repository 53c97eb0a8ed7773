// The registry stand-in: names, kinds, order, hostile texts, read-only and damaged
// hives, checked through the files with the test's own hive reader.
#include "tempregistry.h"

#include <QDir>

using namespace plat::reg;

namespace {

class RegistryTest : public TempRegistryTest {
protected:
    QByteArray bytes(Root root) {
        QFile f(hiveFile(root));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void writeFile(Root root, const QByteArray& text) {
        QFile f(hiveFile(root));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
};

std::u16string u16(const QString& s) { return s.toStdU16String(); }

TEST_F(RegistryTest, NamesCompareWithoutCaseAndKeepTheirCase) {
    const Key created = Key::create(Root::CurrentUser, "Software\\Farm\\Window", Access::All);
    ASSERT_TRUE(created);
    created.writeString("Caption", "one");
    const Key again = Key::open(Root::CurrentUser, "SOFTWARE\\farm\\WINDOW", Access::All);
    ASSERT_TRUE(again);
    EXPECT_EQ(again.readString("caption"), QString("one"));
    again.writeString("CAPTION", "two");
    EXPECT_EQ(again.valueNames(), QStringList{"Caption"});
    EXPECT_EQ(Key::open(Root::CurrentUser, "software", Access::Read).subKeyNames(), QStringList{"Farm"});
    Key::create(Root::CurrentUser, "software\\FARM", Access::All);  // no second key
    const auto keys = file(Root::CurrentUser);
    ASSERT_EQ(keys.count("software\\farm\\window"), 1u);
    EXPECT_EQ(keys.at("software\\farm\\window").pathAsWritten, "Software\\Farm\\Window");
    EXPECT_EQ(keys.at("software\\farm\\window").values.at(u"Caption").text, u"two");
    EXPECT_EQ(keys.size(), 1u);
}

TEST_F(RegistryTest, EveryKindReachesTheFileAndComesBack) {
    struct Row {
        Value value;
        unsigned fileType;
        std::u16string fileText;
        std::vector<unsigned char> fileHex;
        unsigned fileDword;
    };
    const std::vector<Row> rows = {
        {Value::string("Sz", "plain"), 1, u"plain", {}, 0},
        {Value::string("Exp", "%HOME%\\bin", REG_EXPAND_SZ), 2, u"%HOME%\\bin", {}, 0},
        {Value::dword("Dw", 0xdeadbeef), 4, {}, {}, 0xdeadbeef},
        {Value{"Bin", REG_BINARY, QByteArray("\x00\x01\xff", 3)}, 3, {}, {0, 1, 0xff}, 0},
        {Value::string("Multi", QString("a") + QChar(0) + "b" + QChar(0), REG_MULTI_SZ), 7, {u'a', 0, u'b', 0}, {}, 0},
        {Value{"Q", REG_QWORD, QByteArray(8, '\x07')}, 11, {}, std::vector<unsigned char>(8, 7), 0},
        {Value{"Odd", 0x1234, QByteArray(100, 'A')}, 0x1234, {}, std::vector<unsigned char>(100, 'A'), 0},
        {Value{"Empty", REG_NONE, QByteArray()}, 0, {}, {}, 0},
        // A string without its terminating zero cannot be shown as text: kept as hex.
        {Value{"Torn", REG_SZ, QByteArray("a\0", 2)}, 1, {}, {'a', 0}, 0},
    };
    const Key key = Key::create(Root::CurrentUser, "Kinds", Access::All);
    for (const Row& row : rows)
        key.writeValue(row.value);
    const auto values = file(Root::CurrentUser).at("kinds").values;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.value.name.toStdString());
        const hivetest::RawValue& raw = values.at(u16(row.value.name));
        EXPECT_EQ(raw.type, row.fileType);
        EXPECT_EQ(raw.text, row.fileText);
        EXPECT_EQ(raw.hex, row.fileHex);
        EXPECT_EQ(raw.dword, row.fileDword);
        EXPECT_EQ(key.value(row.value.name), row.value);
    }
    // Read again from the file alone: the same values.
    const std::optional<Hive> hive = Hive::parse(bytes(Root::CurrentUser));
    ASSERT_TRUE(hive);
    for (const Row& row : rows)
        EXPECT_EQ(*hive->find({"Kinds"})->value(row.value.name), row.value) << row.value.name.toStdString();
    EXPECT_EQ(key.readString("Exp"), QString("%HOME%\\bin"));  // as stored, not expanded
    EXPECT_EQ(key.readDWord("Dw"), 0xdeadbeefu);
}

TEST_F(RegistryTest, HostileAndPersianTextsRoundTrip) {
    const QString persian = QString::fromUtf8("گاو شيرده ۱۲۳");
    const QStringList texts = {
        persian,
        "quote \" backslash \\ end",
        "[bracketed] key ]",
        "semicolon ; apostrophe ' brace } equals =",
        "line\nbreak\ttab\rreturn",
        QString("nul") + QChar(0) + "inside",
        QString::fromUtf8("\xf0\x9f\x90\x84 cow and 7") + QChar(0x62c) + "a",  // surrogates; a hex digit after \x
        " blanks around ",
        "@",
    };
    for (const QString& text : texts) {
        SCOPED_TRACE(text.toStdString());
        const QString keyName = QString(text).replace('\\', '/');
        const Key key = Key::create(Root::CurrentUser, "Hostile\\" + keyName, Access::All);
        ASSERT_TRUE(key);
        key.writeString(text, text);
        const auto keys = file(Root::CurrentUser);
        bool found = false;
        for (const auto& [path, raw] : keys)
            if (raw.values.count(u16(text))) {
                ASSERT_EQ(raw.values.count(u16(text)), 1u);
                EXPECT_EQ(raw.values.at(u16(text)).text, u16(text));
                found = true;
            }
        EXPECT_TRUE(found);
        const std::optional<Hive> hive = Hive::parse(bytes(Root::CurrentUser));
        ASSERT_TRUE(hive);
        const KeyNode* node = hive->find({"Hostile", keyName});
        ASSERT_NE(node, nullptr);
        EXPECT_EQ(node->name, keyName);
        ASSERT_NE(node->value(text), nullptr);
        EXPECT_EQ(node->value(text)->text(), text.left(text.indexOf(QChar(0)) < 0 ? -1 : text.indexOf(QChar(0))));
        EXPECT_EQ(node->value(text)->data, Value::string(text, text).data);
    }
}

TEST_F(RegistryTest, ReadsWhatAPrefixWrote) {
    writeFile(Root::LocalMachine,
              "WINE REGISTRY Version 2\n"
              ";; All keys relative to \\\\Machine\n"
              "\n"
              "#arch=win32\n"
              "\n"
              "[Software\\\\Classes\\\\.txt] 1700000000\n"
              "#time=1d9f0e0a0b0c0d0\n"
              "@=\"txtfile\"\n"
              "\"Content Type\"=\"text/plain\"\n"
              "\n"
              "[System\\\\CurrentControlSet\\\\Control\\\\ProductOptions] 1700000000\n"
              "\"ProductType\"=\"ServerNT\"\n"
              "\"Path\"=str(2):\"%SystemRoot%\\\\x\\x62c\"\n"
              "\"Blob\"=hex:01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,16,17,18,19,\\\n"
              "  1a,1b\n"
              "\"Mode\"=dword:00000010\n");
    const Key options = Key::open(Root::LocalMachine, "SYSTEM\\CurrentControlSet\\Control\\ProductOptions", Access::Read);
    ASSERT_TRUE(options);
    EXPECT_EQ(options.readString("producttype"), QString("ServerNT"));
    EXPECT_EQ(options.readString("Path"), QString("%SystemRoot%\\x") + QChar(0x62c));
    EXPECT_EQ(options.value("Blob")->data.size(), 27);
    EXPECT_EQ(options.readDWord("Mode"), 16u);
    const Key txt = Key::open(Root::ClassesRoot, ".TXT", Access::All);
    ASSERT_TRUE(txt);
    EXPECT_EQ(txt.readString(""), QString("txtfile"));
    txt.writeString("Added", "yes");
    // Our write keeps everything the prefix had, its header included.
    EXPECT_TRUE(bytes(Root::LocalMachine).contains("\n#arch=win32\n"));
    const auto keys = file(Root::LocalMachine);
    EXPECT_EQ(keys.at("software\\classes\\.txt").values.size(), 3u);
    const auto& opts = keys.at("system\\currentcontrolset\\control\\productoptions").values;
    EXPECT_EQ(opts.at(u"Blob").hex.size(), 27u);
    EXPECT_EQ(opts.at(u"Path").type, 2u);
    EXPECT_EQ(opts.at(u"Mode").dword, 16u);
}

TEST_F(RegistryTest, EnumerationIsSortedWithoutCase) {
    const Key key = Key::create(Root::CurrentUser, "Order", Access::All);
    for (const char* name : {"beta", "Alpha", "gamma", "ALPHA2"})
        key.createSubKey(name, Access::Read);
    for (const char* name : {"zeta", "Eta", "", "theta"})
        key.writeString(name, "v");
    EXPECT_EQ(key.subKeyNames(), QStringList({"Alpha", "ALPHA2", "beta", "gamma"}));
    EXPECT_EQ(key.valueNames(), QStringList({"", "Eta", "theta", "zeta"}));
}

TEST_F(RegistryTest, OtherKindsAreNotReadAsTheirNeighbours) {
    const Key key = Key::create(Root::CurrentUser, "Kinds", Access::All);
    key.writeDWord("Count", 3);
    key.writeString("Text", "3");
    EXPECT_THROW(
        {
            try {
                key.readString("Count");
            } catch (const RegistryError& e) {
                EXPECT_STREQ(e.what(), "Invalid data type for 'Count'");
                throw;
            }
        },
        RegistryError);
    EXPECT_THROW(key.readDWord("Text"), RegistryError);
    EXPECT_EQ(key.readString("Missing"), std::nullopt);
    // Access rights: a read-only handle cannot write, a write-only one reads nothing.
    const Key readOnly = Key::open(Root::CurrentUser, "Kinds", Access::Read);
    EXPECT_THROW(readOnly.writeString("Text", "4"), RegistryError);
    EXPECT_EQ(Key::open(Root::CurrentUser, "Kinds", Access::Write).readString("Text"), std::nullopt);
    EXPECT_EQ(key.readString("Text"), QString("3"));
}

TEST_F(RegistryTest, AReadOnlyHiveRefusesWriteAccessAndStaysAsItWas) {
    Key::create(Root::LocalMachine, "SOFTWARE\\Run", Access::All).writeString("a", "b");
    ASSERT_TRUE(QFile::setPermissions(hiveFile(Root::LocalMachine), QFile::ReadOwner | QFile::ReadGroup));
    const QByteArray before = bytes(Root::LocalMachine);
    EXPECT_EQ(Key::open(Root::LocalMachine, "software\\run", Access::All).status(), Status::AccessDenied);
    EXPECT_EQ(Key::open(Root::LocalMachine, "software\\run", Access::Write).status(), Status::AccessDenied);
    EXPECT_EQ(Key::open(Root::ClassesRoot, "", Access::All).status(), Status::AccessDenied);
    EXPECT_EQ(Key::create(Root::LocalMachine, "software\\new", Access::Read).status(), Status::AccessDenied);
    EXPECT_EQ(deleteTree(Root::LocalMachine, "software\\run"), Status::AccessDenied);
    const Key reader = Key::open(Root::LocalMachine, "software\\run", Access::Read);
    ASSERT_TRUE(reader);
    EXPECT_EQ(reader.readString("A"), QString("b"));
    EXPECT_FALSE(reader.deleteValue("a"));
    EXPECT_EQ(bytes(Root::LocalMachine), before);
    EXPECT_TRUE(Key::create(Root::CurrentUser, "x", Access::All));  // the other hive is unaffected
}

TEST_F(RegistryTest, AFileThatIsNotAHiveIsNeverOverwritten) {
    const QByteArray junk("REGEDIT4\n[HKEY_CURRENT_USER\\x]\n\0\xff binary", 40);
    writeFile(Root::CurrentUser, junk);
    const Key key = Key::create(Root::CurrentUser, "Software", Access::All);
    EXPECT_EQ(key.status(), Status::Corrupt);
    EXPECT_THROW(key.writeString("a", "b"), RegistryError);
    EXPECT_EQ(deleteTree(Root::CurrentUser, "Software"), Status::Corrupt);
    EXPECT_EQ(bytes(Root::CurrentUser), junk);
    writeFile(Root::CurrentUser, "WINE REGISTRY Version 2\n[Software] 0\n\"a\"=\"unterminated\n");
    EXPECT_EQ(Key::open(Root::CurrentUser, "Software", Access::Read).status(), Status::Corrupt);
}

TEST_F(RegistryTest, DeletingATreeTakesEverythingBelowIt) {
    const Key top = Key::create(Root::CurrentUser, "Software\\Farm", Access::All);
    top.createSubKey("A\\B\\C", Access::All).writeString("deep", "1");
    top.createSubKey("D", Access::All).writeString("x", "2");
    Key::create(Root::CurrentUser, "Software\\Other", Access::All);
    const Key deep = Key::open(Root::CurrentUser, "Software\\Farm\\A\\B\\C", Access::All);
    EXPECT_EQ(top.deleteSubKey("a"), Status::Ok);
    EXPECT_FALSE(deep.exists());
    EXPECT_THROW(deep.writeString("deep", "3"), RegistryError);  // a deleted key is not brought back
    EXPECT_EQ(top.subKeyNames(), QStringList{"D"});
    EXPECT_EQ(deleteTree(Root::CurrentUser, "SOFTWARE\\FARM"), Status::Ok);
    EXPECT_EQ(deleteTree(Root::CurrentUser, "Software\\Farm"), Status::NotFound);
    EXPECT_EQ(deleteTree(Root::CurrentUser, ""), Status::AccessDenied);
    EXPECT_EQ(Key::open(Root::CurrentUser, "Software", Access::Read).subKeyNames(), QStringList{"Other"});
    const auto keys = file(Root::CurrentUser);
    for (const auto& [path, raw] : keys)
        EXPECT_EQ(path.find("farm"), std::string::npos) << path;
}

TEST_F(RegistryTest, MalformedPathsAreRefused) {
    const struct {
        const char* path;
        Status status;
    } rows[] = {
        {"\\Software", Status::InvalidName},
        {"a\\\\b", Status::InvalidName},
        {"\\", Status::InvalidName},
        {"a\\", Status::Ok},
        {"", Status::Ok},
    };
    for (const auto& row : rows)
        EXPECT_EQ(Key::create(Root::CurrentUser, row.path, Access::All).status(), row.status) << row.path;
    EXPECT_EQ(Key::create(Root::CurrentUser, QString(256, 'k'), Access::All).status(), Status::InvalidName);
    EXPECT_EQ(Key::create(Root::CurrentUser, QString(255, 'k'), Access::All).status(), Status::Ok);
    EXPECT_EQ(Key::open(Root::CurrentUser, "", Access::Read).subKeyNames(), QStringList({"a", QString(255, 'k')}));
}

TEST_F(RegistryTest, TheClassesRootIsTheMachinesSoftwareClasses) {
    Key::create(Root::ClassesRoot, ".xyz", Access::All).writeString("", "XyzFile");
    EXPECT_EQ(Key::open(Root::LocalMachine, "Software\\Classes\\.XYZ", Access::Read).readString(""),
              QString("XyzFile"));
    EXPECT_EQ(file(Root::LocalMachine).at("software\\classes\\.xyz").values.at(u"").text, u"XyzFile");
    EXPECT_FALSE(QFile::exists(hiveFile(Root::CurrentUser)));
}

}  // namespace
