#include "dialogs/querydialog.h"
#include "scripteddialog.h"
#include "toolsfixture.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cmath>

namespace {

using Script = ScriptedDialog<TQueryDialog>;
using Step = Script::Step;
using Call = std::function<bool(TTools&, QString&)>;

const QString kAllGroups = QStringLiteral(".همه گروهها.");

// Replaces the edit's text as a user would (select all, type or delete), then presses key.
Step typeThen(const QString& text, Qt::Key key) {
    return [=](TQueryDialog& d) {
        QTest::keyClick(d.edit(), Qt::Key_A, Qt::ControlModifier);
        if (text.isEmpty())
            QTest::keyClick(d.edit(), Qt::Key_Delete);
        else
            QTest::keyClicks(d.edit(), text);
        press(d, key);
    };
}

// The dialog reopened with the input as the user left it.
Step expectInputThen(const QString& left, Step next) {
    return [=](TQueryDialog& d) {
        EXPECT_EQ(d.inputText(), left);
        next(d);
    };
}

Step pressKey(Qt::Key key) {
    return [=](TQueryDialog& d) { press(d, key); };
}

// Dialog units computed here from the face, apart from the code under test.
struct Units {
    int w, h;
    int x(int n) const { return static_cast<int>(std::floor(n * w / 4.0 + 0.5)); }
    int y(int n) const { return static_cast<int>(std::floor(n * h / 8.0 + 0.5)); }
};

void expectLayout(const TQueryDialog& d, const Units& u) {
    const QRect label = d.promptLabel()->geometry();
    const QRect input = d.inputControl()->geometry();
    const QRect ok = d.okButton()->geometry();
    const QRect cancel = d.cancelButton()->geometry();
    EXPECT_EQ(d.width(), u.x(180));
    EXPECT_EQ(label.topLeft(), QPoint(u.x(8), u.y(8)));
    EXPECT_EQ(label.width(), u.x(164));
    EXPECT_EQ(input, QRect(u.x(8), label.y() + label.height() + 5, u.x(164), input.height()));
    EXPECT_EQ(ok, QRect(u.x(38), input.y() + input.height() + 15, u.x(50), u.y(14)));
    EXPECT_EQ(cancel, QRect(u.x(92), ok.y(), u.x(50), u.y(14)));
    EXPECT_EQ(d.height(), cancel.y() + cancel.height() + 13);
}

TEST(QueryDialogLayout, InjectedUnitsGiveTheReferenceGeometry) {
    QFont measured;
    TQueryDialog d({QStringLiteral("c"), QStringLiteral("Name:"), QueryInput::Edit, QStringLiteral("x")}, [&](const QFont& f) {
        measured = f;
        return DialogUnits{6, 13};
    });
    EXPECT_EQ(measured.family(), QStringLiteral("Tahoma"));
    EXPECT_EQ(measured.pointSize(), 9);
    EXPECT_EQ(d.width(), 270);
    EXPECT_EQ(d.promptLabel()->pos(), QPoint(12, 13));
    EXPECT_EQ(d.edit()->width(), 246);
    EXPECT_EQ(d.okButton()->geometry().size(), QSize(75, 23));
    EXPECT_EQ(d.okButton()->x(), 57);
    EXPECT_EQ(d.cancelButton()->x(), 138);
    expectLayout(d, {6, 13});
    EXPECT_EQ(d.layoutDirection(), Qt::RightToLeft);

    // A prompt longer than the label's width wraps into more lines; the rest follows.
    TQueryDialog wrapped({QStringLiteral("c"), QString(40, u'w').replace(u'w', QStringLiteral("word "))},
                         [](const QFont&) { return DialogUnits{6, 13}; });
    EXPECT_GT(wrapped.promptLabel()->height(), 2 * d.promptLabel()->height());
    expectLayout(wrapped, {6, 13});
}

class InQuery : public ToolsFixture {};

TEST_F(InQuery, RealFaceGivesTheLayoutOfItsMeasuredUnits) {
    QFont face(QStringLiteral("Tahoma"));
    face.setPointSize(9);
    const QFontMetrics metrics(face);
    const Units u{metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) / 52, metrics.height()};
    ASSERT_GT(u.w, 0);
    Script script({[&](TQueryDialog& d) {
        EXPECT_EQ(d.units().W, u.w);
        EXPECT_EQ(d.units().H, u.h);
        expectLayout(d, u);
        press(d, Qt::Key_Escape);
    }});
    QString value;
    EXPECT_FALSE(m_tools->InQuery(QStringLiteral("نام گروه"), value));
    EXPECT_EQ(script.opens(), 1);
}

TEST_F(InQuery, VariantsShowTheirCaptionInputAndKeyboardLayout) {
    struct Variant {
        const char* name;
        Call call;
        QString caption;
        bool persian;
        QString shown;  // what the edit shows for the value "ab c"
    };
    const Variant variants[] = {
        {"InQuery", [](TTools& t, QString& v) { return t.InQuery(QStringLiteral("p"), v); }, QStringLiteral("سوال"), true, QStringLiteral("ab c")},
        {"InQueryEng", [](TTools& t, QString& v) { return t.InQueryEng(QStringLiteral("p"), v); }, QStringLiteral("دريافت ورودي"), false,
         QStringLiteral("ab c")},
        {"PassInQuery", [](TTools& t, QString& v) { return t.PassInQuery(QStringLiteral("p"), v); }, QStringLiteral("دريافت رمز ورود"), true,
         QStringLiteral("****")},
    };
    for (const Variant& v : variants) {
        SCOPED_TRACE(v.name);
        // Start from the other layout, so that the switch shows.
        v.persian ? m_tools->SwitchToEnglish() : m_tools->SwitchToFarsi();
        Script script({[&](TQueryDialog& d) {
            EXPECT_EQ(d.windowTitle(), v.caption);
            EXPECT_EQ(d.promptLabel()->text(), QStringLiteral("p"));
            EXPECT_EQ(d.edit()->displayText(), v.shown);
            EXPECT_EQ(d.edit()->selectedText(), QStringLiteral("ab c"));
            EXPECT_EQ(d.okButton()->text(), QStringLiteral("قبول"));
            EXPECT_EQ(d.cancelButton()->text(), QStringLiteral("انصراف"));
            EXPECT_EQ(v.persian ? persianActive() : englishActive(), true) << layouts.active().toStdString();
            press(d, Qt::Key_Return);
        }});
        QString value = QStringLiteral("ab c");
        EXPECT_TRUE(v.call(*m_tools, value));
        EXPECT_EQ(value, QStringLiteral("ab c"));
        EXPECT_EQ(script.opens(), 1);
        // The layout stays switched after the dialog.
        EXPECT_EQ(v.persian ? persianActive() : englishActive(), true) << layouts.active().toStdString();
    }
}

TEST_F(InQuery, EmptyInputReopensAndOnlyAcceptanceChangesTheValue) {
    const Call inQuery = [](TTools& t, QString& v) { return t.InQuery(QStringLiteral("p"), v); };
    const Call inQueryEng = [](TTools& t, QString& v) { return t.InQueryEng(QStringLiteral("p"), v); };
    const Call pass = [](TTools& t, QString& v) { return t.PassInQuery(QStringLiteral("p"), v); };
    struct Case {
        const char* name;
        Call call;
        QString value;
        std::vector<Step> steps;
        bool result;
        QString after;
        int opens;
    };
    const QString old = QStringLiteral("old");
    const Case cases[] = {
        {"empty, then blanks, then text with blanks",
         inQuery,
         old,
         {typeThen(QString(), Qt::Key_Return), expectInputThen(QString(), typeThen(QStringLiteral("   "), Qt::Key_Return)),
          expectInputThen(QStringLiteral("   "), typeThen(QStringLiteral(" new "), Qt::Key_Return))},
         true,
         QStringLiteral(" new "),
         3},
        {"blanks, then Escape", inQueryEng, old, {typeThen(QStringLiteral("  "), Qt::Key_Return), pressKey(Qt::Key_Escape)}, false, old, 2},
        {"typed text, then Escape", inQuery, old, {typeThen(QStringLiteral("x"), Qt::Key_Escape)}, false, old, 1},
        {"the close box", inQuery, old, {[](TQueryDialog& d) { d.close(); }}, false, old, 1},
        {"the OK button", inQueryEng, old, {[](TQueryDialog& d) { QTest::mouseClick(d.okButton(), Qt::LeftButton); }}, true, old, 1},
        {"the Cancel button", inQueryEng, old, {[](TQueryDialog& d) { QTest::mouseClick(d.cancelButton(), Qt::LeftButton); }}, false, old, 1},
        {"password of blanks", pass, old, {typeThen(QString(), Qt::Key_Return), typeThen(QStringLiteral("  "), Qt::Key_Return)}, true, QStringLiteral("  "), 2},
        {"a long value is cut to 255", inQuery, QString(300, u'v'), {pressKey(Qt::Key_Return)}, true, QString(255, u'v'), 1},
        {"the end of the program", inQuery, old, {[](TQueryDialog&) { plat::requestEnd(); }}, false, old, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        clearEndRequest();
        Script script(c.steps);
        QString value = c.value;
        EXPECT_EQ(c.call(*m_tools, value), c.result);
        EXPECT_EQ(value, c.after);
        EXPECT_EQ(script.opens(), c.opens);
    }
    // Asked after the end was requested: no dialog shows.
    Script late({pressKey(Qt::Key_Return)});
    QString value = old;
    EXPECT_FALSE(inQuery(*m_tools, value));
    EXPECT_EQ(late.opens(), 0);
}

TEST_F(InQuery, ComboOffersTheListWithoutTheAllGroupsEntry) {
    const QStringList list{kAllGroups, QStringLiteral("Dry"), kAllGroups, QStringLiteral("Milking")};
    const QStringList offered{QStringLiteral("Dry"), kAllGroups, QStringLiteral("Milking")};  // the first one removed
    auto items = [](const QComboBox* c) {
        QStringList texts;
        for (int i = 0; i < c->count(); ++i)
            texts << c->itemText(i);
        return texts;
    };
    m_tools->SwitchToEnglish();
    Script preselected({[&](TQueryDialog& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("سوال"));
        EXPECT_EQ(items(d.pickList()), offered);
        EXPECT_EQ(d.pickList()->currentText(), QStringLiteral("Milking"));
        EXPECT_FALSE(d.pickList()->isEditable());
        EXPECT_EQ(d.pickList()->height(), 22);
        EXPECT_TRUE(persianActive());
        press(d, Qt::Key_Return);
    }});
    QString value = QStringLiteral("Milking");
    EXPECT_TRUE(m_tools->InQueryCombo(QStringLiteral("p"), list, value));
    EXPECT_EQ(value, QStringLiteral("Milking"));
    EXPECT_EQ(preselected.opens(), 1);

    // No item of the value's text: nothing chosen, and accepting that reopens.
    Script unmatched({[](TQueryDialog& d) {
                          EXPECT_EQ(d.pickList()->currentIndex(), -1);
                          press(d, Qt::Key_Return);
                      },
                      [](TQueryDialog& d) {
                          press(d, Qt::Key_Down);
                          press(d, Qt::Key_Return);
                      }});
    value = QStringLiteral("Heifers");
    EXPECT_TRUE(m_tools->InQueryCombo(QStringLiteral("p"), list, value));
    EXPECT_EQ(value, QStringLiteral("Dry"));
    EXPECT_EQ(unmatched.opens(), 2);
    EXPECT_EQ(list.size(), 4);  // the caller's list is untouched
    EXPECT_TRUE(persianActive());
}

}  // namespace
