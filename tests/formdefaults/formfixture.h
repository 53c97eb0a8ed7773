#pragma once
// A toolkit on recording dialogs whose application directory (with its "ini" folder) is
// a temporary folder, and a form of the controls that definition files name.
#include "toolkit/recordingdialogs.h"
#include "toolkit/tools.h"
#include "widgets/dbcheckbox.h"
#include "widgets/dbcombobox.h"
#include "widgets/dbedit.h"
#include "widgets/dbradiogroup.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

// The form's controls, created in this order.
struct DefaultsForm {
    std::unique_ptr<QWidget> form = std::make_unique<QWidget>();
    TDBEdit* edit;
    QLabel* label;
    TDBComboBox* combo;
    TRadioGroup* radio;
    TDBRadioGroup* dbRadio;
    TDBCheckBox* check;
    QLineEdit* plainEdit;
    QGroupBox* group;
    QCheckBox* innerCheck;

    explicit DefaultsForm(const QString& name = QStringLiteral("Form1")) {
        form->setObjectName(name);
        edit = named(new TDBEdit(form.get()), "DBEdit1");
        label = named(new QLabel(form.get()), "Label1");
        combo = named(new TDBComboBox(form.get()), "DBComboBox1");
        combo->addItems({QStringLiteral("Red"), QStringLiteral("Green"), QStringLiteral("Blue")});
        radio = named(new TRadioGroup(form.get()), "RadioGroup1");
        radio->setItems({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
        dbRadio = named(new TDBRadioGroup(form.get()), "DBRadioGroup1");
        dbRadio->setItems({QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("z")});
        check = named(new TDBCheckBox(form.get()), "DBCheckBox1");
        plainEdit = named(new QLineEdit(form.get()), "Edit1");
        group = named(new QGroupBox(form.get()), "GroupBox1");
        innerCheck = named(new QCheckBox(group), "CheckBox1");
        new QLabel(QStringLiteral("unnamed"), group);
    }

    template <class W>
    static W* named(W* w, const char* name) {
        w->setObjectName(QString::fromLatin1(name));
        return w;
    }
};

class FormFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        QDir(m_dir.path()).mkpath(QStringLiteral("app/ini"));
        m_tools = std::make_unique<TTools>(ToolsOptions{&m_dialogs, appPath(), QDate(2026, 12, 9)});
        m_dialogs.clear();
    }
    void TearDown() override { m_tools.reset(); }

    QString appPath() const { return m_dir.filePath(QStringLiteral("app")) + u'/'; }
    QString iniFile(const QString& name) const { return appPath() + QStringLiteral("ini/") + name + QStringLiteral(".Ini"); }

    static void writeBytes(const QString& path, const QByteArray& bytes) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    static QByteArray readBytes(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir m_dir;
    RecordingDialogs m_dialogs;
    std::unique_ptr<TTools> m_tools;
};
