// WindowModel: the tester's one window without any toolkit. It holds every
// control the actions read and write, raises the window's seven events, runs
// the port-type switches, and is the one place where a failing action is
// reported (the failure rule). The Qt window only shows it and passes the
// operator's clicks and edits to it.
#pragma once

#include "Control.h"

#include <functional>
#include <string>

class WindowModel {
public:
    using Action = std::function<void(WindowModel&)>;

    WindowModel();

    // Controls, by their designer names.
    Control Option1, Option2;           // serial / parallel port, in Frame1
    Control Port, LPort, Speed;         // lists in Frame1
    Control Prin;                       // test print content, in Frame2
    Control Turn, Command3;             // repeat count and print test, in Frame4
    Control Command1;                   // open cash drawer, in Frame3
    Control Command5;                   // exit
    Control Han, Hand2, Hand;           // handshake frame and its two options

    // Where the other subsystems hook in. Until attached, an event does nothing.
    void attachLoad(Action action) { loadAction_ = std::move(action); }
    void attachCashDrawerTest(Action action) { cashDrawerAction_ = std::move(action); }
    void attachPrintTest(Action action) { printAction_ = std::move(action); }

    // The failure handler shows a failure and ends the program with status 1;
    // the exit handler ends it with status 0; the change observer redraws.
    void setFailureHandler(std::function<void(const std::string&)> handler) { onFailure_ = std::move(handler); }
    void setExitHandler(std::function<void()> handler) { onExit_ = std::move(handler); }
    void setChangeObserver(std::function<void()> observer) { onChange_ = std::move(observer); }

    // The seven events.
    void load();
    void clickOption1();
    void clickOption2();
    void clickCommand1();
    void clickCommand3();
    void clickCommand5();
    void changeSpeedText();

    // What the operator does besides raising events.
    void editText(Control& list, const std::string& text);
    void clickHandshake(Control& option);  // Hand or Hand2
    void closeWindow();                    // the close box: as Command5

    bool unloaded() const { return unloaded_; }
    bool failed() const { return failed_; }

private:
    void switchToSerial();
    void switchToParallel();
    void runAction(const char* title, const Action& action);
    void unload();
    void changed();

    Action loadAction_, cashDrawerAction_, printAction_;
    std::function<void(const std::string&)> onFailure_;
    std::function<void()> onExit_;
    std::function<void()> onChange_;
    bool unloaded_ = false;
    bool failed_ = false;
};
