// TesterWindow: the Qt window of the tester. It lays the controls out as the
// build's layout says, shows the window model's state, and passes clicks and
// edits to the model as its events. It holds no state of its own.
#pragma once

#include "Deliverable.h"
#include "WindowModel.h"

#include <QCoreApplication>
#include <QWidget>
#include <functional>
#include <map>

class QComboBox;
class QPushButton;
class QRadioButton;
class QGroupBox;

class TesterWindow : public QWidget {
public:
    TesterWindow(WindowModel& model, const Deliverable& deliverable);

    // The widget of a control, by its designer name (for tests and start-up).
    QWidget* control(const std::string& name) const;

    // Shows the model's current state on screen.
    void refresh();

    // Ends the program with an exit status: 0 on exit, 1 after a failure.
    std::function<void(int)> endProgram = [](int status) { QCoreApplication::exit(status); };

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    QWidget* containerOf(const Placement& placement) const;
    void place(QWidget* widget, const Placement& placement);
    QComboBox* addList(const Placement& placement, Control& state);
    QRadioButton* addOption(const Placement& placement, std::function<void()> click);
    QPushButton* addButton(const Placement& placement, std::function<void()> click);
    void setTabOrder();
    void showFailure(const std::string& message);

    WindowModel& model_;
    Deliverable deliverable_;
    std::map<std::string, QWidget*> widgets_;
    std::map<QComboBox*, Control*> lists_;
    std::map<QWidget*, Control*> states_;
    bool refreshing_ = false;
};
