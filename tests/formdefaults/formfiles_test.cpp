// Definition templates and definition files of forms: what SaveTempleateForDef,
// SaveDef and LoadDef write and apply.
#include "formfixture.h"

#include "platform/ansicodec.h"

#include <QRadioButton>
#include <functional>

namespace {

class FormFilesTest : public FormFixture {
protected:
    // Writes the definition file of the form, LoadDef-s it, and answers the file's
    // lines after a SaveDef.
    QStringList loadThenSave(DefaultsForm& f, const QStringList& lines) {
        plat::saveLinesAnsi(iniFile(f.form->objectName()), lines);
        m_tools->LoadDef(f.form.get());
        m_tools->SaveDef(f.form.get());
        return plat::loadLines(iniFile(f.form->objectName()));
    }
};

TEST_F(FormFilesTest, TheTemplateListsEveryComponentUnderItsClassName) {
    QWidget small;
    small.setObjectName(QStringLiteral("Small"));
    DefaultsForm::named(new TDBEdit(&small), "DBEdit1");
    DefaultsForm::named(new QLabel(&small), "Label1");
    m_tools->SaveTempleateForDef(&small);
    EXPECT_EQ(readBytes(appPath() + QStringLiteral("ini/1Small.Ini")), QByteArray("TDBEdit~DBEdit1~ \r\nTLabel~Label1~ \r\n"));

    DefaultsForm f;
    m_tools->SaveTempleateForDef(f.form.get());
    EXPECT_EQ(plat::loadLines(appPath() + QStringLiteral("ini/1Form1.Ini")),
              QStringList({QStringLiteral("TDBEdit~DBEdit1~ "), QStringLiteral("TLabel~Label1~ "),
                           QStringLiteral("TDBComboBox~DBComboBox1~ "), QStringLiteral("TRadioGroup~RadioGroup1~ "),
                           QStringLiteral("TDBRadioGroup~DBRadioGroup1~ "), QStringLiteral("TDBCheckBox~DBCheckBox1~ "),
                           QStringLiteral("TEdit~Edit1~ "), QStringLiteral("TGroupBox~GroupBox1~ "),
                           QStringLiteral("TCheckBox~CheckBox1~ ")}));
    // Without the ini folder the write fails loudly.
    QDir(appPath() + QStringLiteral("ini")).removeRecursively();
    EXPECT_THROW(m_tools->SaveTempleateForDef(f.form.get()), std::runtime_error);
}

// Each case loads one line into a fresh form, then saves it: what the control shows
// after the load, and the line the save writes.
TEST_F(FormFilesTest, ComboBoxesRadioGroupsAndCheckBoxesTakeAndGiveTheirValues) {
    struct Case {
        const char* line;
        std::function<QString(DefaultsForm&)> shown;
        const char* expectedShown;
        const char* saved;
    };
    const auto combo = [](DefaultsForm& f) { return QString::number(f.combo->currentIndex()) + u' ' + f.combo->currentText(); };
    const auto radio = [](DefaultsForm& f) { return QString::number(f.radio->itemIndex()); };
    const auto dbRadio = [](DefaultsForm& f) {
        QString checked;  // which buttons show as checked
        for (int i = 0; i < 3; ++i)
            checked += f.dbRadio->button(i)->isChecked() ? u'x' : u'-';
        return checked;
    };
    const auto check = [](DefaultsForm& f) { return QString::number(f.check->isChecked()); };
    const Case cases[] = {
        {"TDBComboBox~DBComboBox1~Green", combo, "1 Green", "TDBComboBox~DBComboBox1~Green"},
        {"TDBComboBox~DBComboBox1~bLUE", combo, "2 Blue", "TDBComboBox~DBComboBox1~Blue"},
        {"TDBComboBox~DBComboBox1~Purple", combo, "-1 ", "TDBComboBox~DBComboBox1~"},
        {"TDBComboBox~DBComboBox1~Red ", combo, "-1 ", "TDBComboBox~DBComboBox1~"},
        {"TRadioGroup~RadioGroup1~7", radio, "2", "TRadioGroup~RadioGroup1~2"},
        {"TRadioGroup~RadioGroup1~0", radio, "0", "TRadioGroup~RadioGroup1~0"},
        {"TRadioGroup~RadioGroup1~-3", radio, "-1", "TRadioGroup~RadioGroup1~-1"},
        {"TRadioGroup~RadioGroup1~two", radio, "-1", "TRadioGroup~RadioGroup1~-1"},
        {"TDBRadioGroup~DBRadioGroup1~7", dbRadio, "--x", "TDBRadioGroup~DBRadioGroup1~2"},
        {"TDBRadioGroup~DBRadioGroup1~", dbRadio, "---", "TDBRadioGroup~DBRadioGroup1~-1"},
        {"TDBCheckBox~DBCheckBox1~True", check, "1", "TDBCheckBox~DBCheckBox1~-1"},
        {"TDBCheckBox~DBCheckBox1~true", check, "1", "TDBCheckBox~DBCheckBox1~-1"},
        {"TDBCheckBox~DBCheckBox1~1", check, "1", "TDBCheckBox~DBCheckBox1~-1"},
        {"TDBCheckBox~DBCheckBox1~0", check, "0", "TDBCheckBox~DBCheckBox1~0"},
        {"TDBCheckBox~DBCheckBox1~False", check, "0", "TDBCheckBox~DBCheckBox1~0"},
        {"TDBCheckBox~DBCheckBox1~maybe", check, "0", "TDBCheckBox~DBCheckBox1~0"},
    };
    for (const Case& c : cases) {
        DefaultsForm f;  // starts away from every expected state
        f.combo->setCurrentIndex(0);
        f.radio->setItemIndex(1);
        f.dbRadio->setItemIndex(1);
        f.check->setChecked(QByteArray(c.expectedShown) == "0");
        const QStringList saved = loadThenSave(f, {QString::fromUtf8(c.line)});
        EXPECT_EQ(c.shown(f), QString::fromUtf8(c.expectedShown)) << c.line;
        EXPECT_EQ(saved, QStringList{QString::fromUtf8(c.saved)}) << c.line;
    }
}

TEST_F(FormFilesTest, EditValuesSurviveSaveAndLoadUnchanged) {
    const QString values[] = {QStringLiteral("a~b~"), QStringLiteral("  گاو شيرده ك ي  "), QStringLiteral("~"), QString(),
                              QStringLiteral("'; ] }")};
    for (const QString& value : values) {
        plat::saveLinesAnsi(iniFile(QStringLiteral("Form1")), {QStringLiteral("TDBEdit~DBEdit1~old")});
        DefaultsForm saving;
        saving.edit->setText(value);
        m_tools->SaveDef(saving.form.get());
        DefaultsForm loading;
        m_tools->LoadDef(loading.form.get());
        EXPECT_EQ(loading.edit->text(), value) << value.toStdString();
        EXPECT_EQ(plat::loadLines(iniFile(QStringLiteral("Form1"))), QStringList{QStringLiteral("TDBEdit~DBEdit1~") + value});
    }
}

TEST_F(FormFilesTest, LinesTheFormCannotUseAreWrittenBackAsTheyWere) {
    DefaultsForm f;
    f.edit->setText(QStringLiteral("now"));
    f.plainEdit->setText(QStringLiteral("plain"));
    f.check->setChecked(true);
    const QStringList lines = {
        QStringLiteral("TDBEdit~NoSuchControl~kept"),  // no such component
        QStringLiteral("TSomething~label1~kept too"),  // other class, found in another case: class spelling only
        QStringLiteral("tdbedit~dbedit1~old"),         // found in another case, class spelling restored
        QStringLiteral("TDBCheckBox~Edit1~1"),         // one of the five over a control of another kind
        QStringLiteral("TDBEdit~Edit1~x"),             // an edit box, but not of the class named
        QStringLiteral("just text"),                   // no tilde at all
        QStringLiteral("TDBEdit~DBEdit1"),             // one tilde: no component name
        QString(),
        QStringLiteral("TDBCheckBox~~-1"),  // empty name finds nothing
    };
    plat::saveLinesAnsi(iniFile(QStringLiteral("Form1")), lines);
    m_tools->SaveDef(f.form.get());
    EXPECT_EQ(plat::loadLines(iniFile(QStringLiteral("Form1"))),
              QStringList({lines[0], QStringLiteral("TLabel~label1~kept too"), QStringLiteral("TDBEdit~dbedit1~now"), lines[3],
                           lines[4], lines[5], lines[6], lines[7], lines[8]}));

    // Loading the same lines changes only what the lines may change.
    DefaultsForm g;
    g.plainEdit->setText(QStringLiteral("before"));
    g.check->setChecked(true);
    m_tools->LoadDef(g.form.get());
    EXPECT_EQ(g.plainEdit->text(), QStringLiteral("before"));
    EXPECT_EQ(g.edit->text(), QStringLiteral("now"));
    EXPECT_TRUE(g.check->isChecked());
    EXPECT_TRUE(g.label->text().isEmpty());
}

TEST_F(FormFilesTest, AMissingDefinitionFileIsLeftMissing) {
    DefaultsForm f;
    f.edit->setText(QStringLiteral("unchanged"));
    m_tools->LoadDef(f.form.get());
    m_tools->SaveDef(f.form.get());
    EXPECT_EQ(f.edit->text(), QStringLiteral("unchanged"));
    EXPECT_FALSE(QFile::exists(iniFile(QStringLiteral("Form1"))));
    EXPECT_TRUE(m_dialogs.entries().empty());
}

TEST_F(FormFilesTest, FilesAreReadByTheirMarkAndWrittenInTheAnsiCodePage) {
    // A UTF-8 file with its mark; the letters ي and ك have places in the ANSI code page.
    writeBytes(iniFile(QStringLiteral("Form1")), QByteArray("\xEF\xBB\xBF") + QStringLiteral("TDBEdit~DBEdit1~كي\r\nTRadioGroup~RadioGroup1~2").toUtf8());
    DefaultsForm f;
    m_tools->LoadDef(f.form.get());
    EXPECT_EQ(f.edit->text(), QStringLiteral("كي"));
    EXPECT_EQ(f.radio->itemIndex(), 2);
    m_tools->SaveDef(f.form.get());
    EXPECT_EQ(readBytes(iniFile(QStringLiteral("Form1"))), QByteArray("TDBEdit~DBEdit1~\xDF\xED\r\nTRadioGroup~RadioGroup1~2\r\n"));
}

}  // namespace
