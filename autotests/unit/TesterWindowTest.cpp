// The Qt window against the layout tables and the model, on the offscreen
// platform.
#include "Deliverable.h"
#include "TesterWindow.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

void PrintTo(const Deliverable& deliverable, std::ostream* out)
{
    *out << deliverable.name;
}

namespace {

class TesterWindowTest : public testing::TestWithParam<Deliverable> {
protected:
    TesterWindowTest() : window(model, GetParam())
    {
        model.attachCashDrawerTest([this](WindowModel&) { ++drawerRuns; });
        model.attachPrintTest([this](WindowModel&) { ++printRuns; });
        window.endProgram = [this](int status) { endStatuses.push_back(status); };
        model.load();
        window.show();
        QApplication::setActiveWindow(&window);
        (void)QTest::qWaitForWindowExposed(&window);
    }

    template <typename Widget>
    Widget* widget(const std::string& name)
    {
        auto* found = qobject_cast<Widget*>(window.control(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    void click(const std::string& name) { QTest::mouseClick(window.control(name), Qt::LeftButton); }

    WindowModel model;
    TesterWindow window;
    int drawerRuns = 0, printRuns = 0;
    std::vector<int> endStatuses;
};

TEST_P(TesterWindowTest, EveryControlSitsWhereTheLayoutSays)
{
    const WindowLayout& layout = GetParam().layout;
    EXPECT_EQ(window.windowTitle().toStdString(), layout.caption);
    EXPECT_EQ(window.size(), QSize(layout.clientWidth / 15, layout.clientHeight / 15));
    for (const Placement& placement : layout.controls) {
        QWidget* control = window.control(placement.name);
        ASSERT_NE(control, nullptr) << placement.name;
        QWidget* container = placement.container == "Form1" ? &window : window.control(placement.container);
        EXPECT_EQ(control->parentWidget(), container) << placement.name;
        EXPECT_EQ(control->geometry(), QRect(placement.left / 15, placement.top / 15, placement.width / 15,
                                             placement.height / 15))
            << placement.name;
        QString caption;
        if (auto* frame = qobject_cast<QGroupBox*>(control))
            caption = frame->title();
        else if (auto* button = qobject_cast<QAbstractButton*>(control))
            caption = button->text();
        else if (auto* label = qobject_cast<QLabel*>(control))
            caption = label->text();
        EXPECT_EQ(caption.toStdString(), placement.caption) << placement.name;
        EXPECT_FALSE(caption.contains('&')) << "no access keys: " << placement.name;
    }
}

TEST_P(TesterWindowTest, BannerIsWiderThanTheWindowAndCutAtTheRight)
{
    auto* banner = widget<QLabel>("Image1");
    const QPixmap picture = banner->pixmap();
    EXPECT_EQ(picture.size(), QSize(GetParam().layout.bannerWidth, GetParam().layout.bannerHeight));
    EXPECT_GT(banner->geometry().right(), window.width());
}

TEST_P(TesterWindowTest, OpensWithFocusInPrinAndNoPortTypeChosen)
{
    auto* prin = widget<QComboBox>("Prin");
    EXPECT_TRUE(QApplication::focusWidget() == prin || QApplication::focusWidget() == prin->lineEdit());
    EXPECT_FALSE(widget<QRadioButton>("Option1")->isChecked());
    EXPECT_FALSE(widget<QRadioButton>("Option2")->isChecked());
    EXPECT_TRUE(widget<QRadioButton>("Hand2")->isChecked());
    EXPECT_FALSE(window.control("Command1")->isEnabled());
    EXPECT_FALSE(window.control("Command3")->isEnabled());
}

TEST_P(TesterWindowTest, TabVisitsTheControlsInTheirKeyboardOrder)
{
    click("Option1");
    widget<QComboBox>("Prin")->setFocus();
    std::vector<std::string> visited;
    for (int step = 0; step < 10; ++step) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* focus = QApplication::focusWidget();
        while (focus && focus->objectName().isEmpty())
            focus = focus->parentWidget();
        visited.push_back(focus ? focus->objectName().toStdString() : "?");
    }
    EXPECT_EQ(visited, (std::vector<std::string>{"Command1", "Turn", "Command3", "Command5", "Option1", "Option2",
                                                 "Speed", "Hand", "Hand2", "Port"}));
}

TEST_P(TesterWindowTest, PortTypeSwitchShowsTheRightLists)
{
    click("Option1");
    EXPECT_TRUE(window.control("Port")->isVisible());
    EXPECT_TRUE(window.control("Speed")->isVisible());
    EXPECT_FALSE(window.control("LPort")->isVisible());
    EXPECT_TRUE(window.control("Hand")->isEnabled());
    click("Hand");
    EXPECT_TRUE(model.Hand.selected);
    EXPECT_TRUE(widget<QRadioButton>("Hand")->isChecked());
    EXPECT_FALSE(widget<QRadioButton>("Hand2")->isChecked());
    click("Hand");  // a second click keeps the choice
    EXPECT_TRUE(widget<QRadioButton>("Hand")->isChecked());

    click("Option2");
    EXPECT_FALSE(window.control("Port")->isVisible());
    EXPECT_FALSE(window.control("Speed")->isVisible());
    EXPECT_TRUE(window.control("LPort")->isVisible());
    EXPECT_FALSE(widget<QRadioButton>("Option1")->isChecked());
    EXPECT_TRUE(widget<QRadioButton>("Hand2")->isChecked());
    EXPECT_FALSE(window.control("Han")->isEnabled());
}

TEST_P(TesterWindowTest, TheCloseBoxEndsTheProgramNormally)
{
    window.close();
    EXPECT_TRUE(model.unloaded());
    EXPECT_EQ(endStatuses, std::vector<int>{0});
}

TEST_P(TesterWindowTest, ButtonsRaiseTheirEvents)
{
    click("Option2");
    click("Command1");
    click("Command3");
    click("Command5");
    EXPECT_EQ(drawerRuns, 1);
    EXPECT_EQ(printRuns, 1);
    EXPECT_EQ(endStatuses, std::vector<int>{0});
    EXPECT_FALSE(window.isVisible());
}

TEST_P(TesterWindowTest, EnterAndEscapeStartNothing)
{
    click("Option1");
    for (const char* name : {"Prin", "Port", "Turn", "Command1", "Command3", "Command5", "Option1"}) {
        window.control(name)->setFocus();
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus, Qt::Key_Return);
        QTest::keyClick(focus, Qt::Key_Enter);
        QTest::keyClick(focus, Qt::Key_Escape);
    }
    EXPECT_EQ(drawerRuns + printRuns, 0);
    EXPECT_TRUE(endStatuses.empty());
    EXPECT_TRUE(window.isVisible());
}

struct TypingCase {
    const char* list;
    const char* typed;
};

TEST_P(TesterWindowTest, TypedTextStaysExactlyAsTyped)
{
    click("Option1");
    for (const TypingCase& c : {TypingCase{"Port", "com"}, TypingCase{"Port", "c"}, TypingCase{"Speed", "1"},
                                TypingCase{"Turn", "2"}, TypingCase{"Prin", "wel"}, TypingCase{"Port", "COM5"}}) {
        auto* list = widget<QComboBox>(c.list);
        const int entries = list->count();
        list->lineEdit()->selectAll();
        QTest::keyClicks(list->lineEdit(), c.typed);
        QTest::keyClick(list->lineEdit(), Qt::Key_Return);
        EXPECT_EQ(list->currentText().toStdString(), c.typed) << c.list;
        EXPECT_EQ(list->count(), entries) << c.list;
    }
    EXPECT_EQ(model.Port.text, "COM5");
    EXPECT_EQ(model.Speed.text, "1");
    EXPECT_EQ(model.Turn.text, "2");
    EXPECT_EQ(model.Prin.text, "wel");
}

TEST_P(TesterWindowTest, PickingAnEntryPutsItInTheText)
{
    click("Option1");
    widget<QComboBox>("Port")->setCurrentIndex(2);
    EXPECT_EQ(model.Port.text, "COM3");
}

TEST_P(TesterWindowTest, AFailureShowsOneCriticalBoxTitledWithTheProgramName)
{
    model.attachCashDrawerTest([](WindowModel&) { throw std::runtime_error("Could not open com1 (/dev/ttyS0)."); });
    click("Option1");
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttons = 0;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        buttons = int(box->buttons().size());
        box->button(QMessageBox::Ok)->click();
    });
    click("Command1");
    EXPECT_EQ(title.toStdString(), GetParam().name);
    EXPECT_EQ(text.toStdString(), "Cash drawer test failed.\n\nCould not open com1 (/dev/ttyS0).");
    EXPECT_EQ(icon, QMessageBox::Critical);
    EXPECT_EQ(buttons, 1);
    EXPECT_FALSE(window.isVisible()) << "the program is ending";
    EXPECT_EQ(endStatuses, std::vector<int>{1});
}

INSTANTIATE_TEST_SUITE_P(Builds, TesterWindowTest,
                         testing::Values(px9tester9xDeliverable(), px9testerDeliverable()),
                         [](const auto& info) { return info.param.name; });

} // namespace

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    // Listing the tests needs no screen; running them needs the platform the
    // test properties choose (offscreen).
    if (GTEST_FLAG_GET(list_tests))
        return RUN_ALL_TESTS();
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
