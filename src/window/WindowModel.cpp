#include "WindowModel.h"

#include <exception>

namespace {

Control option(bool enabled, bool selected)
{
    return Control{{}, {}, true, enabled, selected};
}

Control list(std::string text, std::vector<std::string> entries, bool shown, bool enabled)
{
    return Control{std::move(text), std::move(entries), shown, enabled, false};
}

std::vector<std::string> countEntries()
{
    std::vector<std::string> entries;
    for (int n = 1; n <= 20; ++n)
        entries.push_back(std::to_string(n));
    return entries;
}

} // namespace

WindowModel::WindowModel()
    : Option1(option(true, false)), Option2(option(true, false)),
      Port(list("COM1", {"COM1", "COM2", "COM3", "COM4"}, false, false)),
      LPort(list("LPT1", {"LPT1", "LPT2"}, false, false)),
      Speed(list("9600", {"9600", "19200"}, false, false)),
      Prin(list("Welcome for you to use our products",
                {"Welcom for you to use our product", "欢迎使用Kestrova有限公司打印机"}, true, true)),
      Turn(list("1", countEntries(), true, true)),
      Command3{{}, {}, true, false, false}, Command1{{}, {}, true, false, false},
      Command5{{}, {}, true, true, false}, Han{{}, {}, true, false, false},
      Hand2(option(false, true)), Hand(option(false, false))
{
}

void WindowModel::load()
{
    runAction("Start-up", [this](WindowModel& model) {
        if (loadAction_)
            loadAction_(model);
        Speed.enabled = true;
    });
}

void WindowModel::clickOption1()
{
    Option1.selected = true;
    Option2.selected = false;
    switchToSerial();
    changed();
}

void WindowModel::clickOption2()
{
    Option2.selected = true;
    Option1.selected = false;
    switchToParallel();
    changed();
}

// The steps keep the designed order; the handshake choice is left as it was.
void WindowModel::switchToSerial()
{
    Command3.enabled = true;
    Command1.enabled = true;
    Speed.shown = true;
    Speed.enabled = true;
    Port.shown = true;
    Port.enabled = true;
    LPort.shown = false;
    LPort.enabled = false;
    Hand.enabled = true;
    Han.enabled = true;
    Hand2.enabled = true;
}

// A parallel port has no handshake: the choice falls back to none.
void WindowModel::switchToParallel()
{
    Port.shown = false;
    Port.enabled = false;
    Speed.enabled = false;
    Speed.shown = false;
    Command3.enabled = true;
    Command1.enabled = true;
    LPort.shown = true;
    LPort.enabled = true;
    Hand.enabled = false;
    Han.enabled = false;
    Hand.selected = false;
    Hand2.enabled = false;
    Hand2.selected = true;
}

void WindowModel::clickCommand1()
{
    if (Command1.enabled)
        runAction("Cash drawer test", cashDrawerAction_);
}

void WindowModel::clickCommand3()
{
    if (Command3.enabled)
        runAction("Print test", printAction_);
}

void WindowModel::clickCommand5()
{
    unload();
}

void WindowModel::closeWindow()
{
    unload();
}

void WindowModel::changeSpeedText()
{
}

void WindowModel::editText(Control& list, const std::string& text)
{
    if (list.text == text)
        return;
    list.text = text;
    if (&list == &Speed)
        changeSpeedText();
    changed();
}

void WindowModel::clickHandshake(Control& option)
{
    if (!option.enabled || (&option != &Hand && &option != &Hand2))
        return;
    Hand.selected = &option == &Hand;
    Hand2.selected = &option == &Hand2;
    changed();
}

// The failure rule: whatever fails inside an action stops it at that step and
// is reported once, naming the action and the failure; the program then ends.
void WindowModel::runAction(const char* title, const Action& action)
{
    if (failed_ || unloaded_)
        return;
    try {
        if (action)
            action(*this);
    } catch (const std::exception& failure) {
        failed_ = true;
        changed();
        if (onFailure_)
            onFailure_(std::string(title) + " failed.\n\n" + failure.what());
        return;
    }
    changed();
}

void WindowModel::unload()
{
    if (unloaded_)
        return;
    unloaded_ = true;
    if (onExit_)
        onExit_();
}

void WindowModel::changed()
{
    if (onChange_)
        onChange_();
}
