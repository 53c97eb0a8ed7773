// Definition templates and definition files of forms: what SaveTempleateForDef,
// SaveDef and LoadDef write and apply.
#include "formfixture.h"

#include "platform/ansicodec.h"

#include <QRadioButton>

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

TEST_F(FormFilesTest, ComboBoxSelectsTheItemEqualInAnyCaseOrNone) {
    struct Case {
        const char* value;
        int index;
        const char* saved;
    };
    const Case cases[] = {{"Green", 1, "Green"}, {"bLUE", 2, "Blue"}, {"Purple", -1, ""}, {"", -1, ""}, {"Red ", -1, ""}};
    for (const Case& c : cases) {
        DefaultsForm f;
        f.combo->setCurrentIndex(0);
        const QStringList saved =
            loadThenSave(f, {QStringLiteral("TDBComboBox~DBComboBox1~") + QString::fromUtf8(c.value)});
        EXPECT_EQ(f.combo->currentIndex(), c.index) << c.value;
        EXPECT_EQ(saved, QStringList{QStringLiteral("TDBComboBox~DBComboBox1~") + QString::fromUtf8(c.saved)}) << c.value;
    }
}

TEST_F(FormFilesTest, RadioGroupsTakeTheValueAsAClampedPosition) {
    struct Case {
        const char* value;
        int index;
    };
    const Case cases[] = {{"7", 2}, {"1", 1}, {"0", 0}, {"-1", -1}, {"-3", -1}, {"two", -1}, {"", -1}};
    for (const Case& c : cases) {
        for (const char* cls : {"TRadioGroup~RadioGroup1~", "TDBRadioGroup~DBRadioGroup1~"}) {
            DefaultsForm f;
            f.radio->setItemIndex(1);
            f.dbRadio->setItemIndex(1);
            const QString line = QString::fromLatin1(cls) + QString::fromUtf8(c.value);
            const QStringList saved = loadThenSave(f, {line});
            TRadioGroup* group = line.startsWith(QLatin1String("TDB")) ? f.dbRadio : f.radio;
            EXPECT_EQ(group->itemIndex(), c.index) << line.toStdString();
            EXPECT_EQ(saved, QStringList{QString::fromLatin1(cls) + QString::number(c.index)}) << line.toStdString();
            for (int i = 0; i < 3; ++i)
                EXPECT_EQ(group->button(i)->isChecked(), i == c.index) << line.toStdString();
        }
    }
}

TEST_F(FormFilesTest, CheckBoxIsCheckedByTrueOrANumberOtherThanZero) {
    struct Case {
        const char* value;
        bool checked;
    };
    const Case cases[] = {{"True", true}, {"true", true}, {"1", true}, {"0", false}, {"False", false}, {"maybe", false}};
    for (const Case& c : cases) {
        DefaultsForm f;
        f.check->setChecked(!c.checked);
        const QStringList saved = loadThenSave(f, {QStringLiteral("TDBCheckBox~DBCheckBox1~") + QString::fromUtf8(c.value)});
        EXPECT_EQ(f.check->isChecked(), c.checked) << c.value;
        EXPECT_EQ(saved, QStringList{QStringLiteral("TDBCheckBox~DBCheckBox1~") + (c.checked ? "-1" : "0")}) << c.value;
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
        QStringLiteral("TDBEdit~NoSuchControl~kept"),   // no such component
        QStringLiteral("TSomething~label1~kept too"),   // other class, found in another case: class spelling only
        QStringLiteral("tdbedit~dbedit1~old"),          // found in another case, class spelling restored
        QStringLiteral("TDBCheckBox~Edit1~1"),          // one of the five over a control of another kind
        QStringLiteral("TDBEdit~Edit1~x"),              // an edit box, but not of the class named
        QStringLiteral("just text"),                    // no tilde at all
        QStringLiteral("TDBEdit~DBEdit1"),              // one tilde: no component name
        QString(),
        QStringLiteral("TDBCheckBox~~-1"),              // empty name finds nothing
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
