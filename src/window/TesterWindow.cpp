#include "TesterWindow.h"

#include "Banner.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <cstdio>

namespace {

QString qt(const std::string& text)
{
    return QString::fromStdString(text);
}

bool isFrame(const std::string& name)
{
    return name.starts_with("Frame") || name == "Han";
}

} // namespace

TesterWindow::TesterWindow(WindowModel& model, const Deliverable& deliverable)
    : model_(model), deliverable_(deliverable)
{
    const WindowLayout& layout = deliverable_.layout;
    setWindowTitle(qt(layout.caption));
    setFixedSize(twipsToPixels(layout.clientWidth), twipsToPixels(layout.clientHeight));
    buildControls();
    setTabOrder();

    model_.setChangeObserver([this] { refresh(); });
    model_.setExitHandler([this] {
        hide();
        endProgram(0);
    });
    model_.setFailureHandler([this](const std::string& message) { showFailure(message); });
    refresh();
    control("Prin")->setFocus();
}

QWidget* TesterWindow::control(const std::string& name) const
{
    const auto found = widgets_.find(name);
    return found == widgets_.end() ? nullptr : found->second;
}

QWidget* TesterWindow::containerOf(const Placement& placement) const
{
    return placement.container == "Form1" ? const_cast<TesterWindow*>(this) : control(placement.container);
}

void TesterWindow::place(QWidget* widget, const Placement& placement)
{
    widget->setParent(containerOf(placement));
    widget->setGeometry(twipsToPixels(placement.left), twipsToPixels(placement.top),
                        twipsToPixels(placement.width), twipsToPixels(placement.height));
    widget->setObjectName(qt(placement.name));
    widgets_[placement.name] = widget;
}

// Builds every control in containment order, so that a later control lies
// above an earlier one where they overlap (the contact labels do).
void TesterWindow::buildControls()
{
    const std::map<std::string, Control*> lists = {
        {"Port", &model_.Port}, {"LPort", &model_.LPort}, {"Speed", &model_.Speed},
        {"Prin", &model_.Prin}, {"Turn", &model_.Turn}};
    const std::map<std::string, std::function<void()>> clicks = {
        {"Option1", [this] { model_.clickOption1(); }},
        {"Option2", [this] { model_.clickOption2(); }},
        {"Hand", [this] { model_.clickHandshake(model_.Hand); }},
        {"Hand2", [this] { model_.clickHandshake(model_.Hand2); }},
        {"Command1", [this] { model_.clickCommand1(); }},
        {"Command3", [this] { model_.clickCommand3(); }},
        {"Command5", [this] { model_.clickCommand5(); }}};
    const std::map<std::string, Control*> states = {
        {"Option1", &model_.Option1}, {"Option2", &model_.Option2}, {"Hand", &model_.Hand},
        {"Hand2", &model_.Hand2}, {"Command1", &model_.Command1}, {"Command3", &model_.Command3},
        {"Command5", &model_.Command5}, {"Han", &model_.Han}};

    for (const Placement& placement : deliverable_.layout.controls) {
        const std::string& name = placement.name;
        QWidget* widget = nullptr;
        if (name == "Image1") {
            auto* banner = new QLabel;
            banner->setPixmap(bannerPicture(deliverable_.layout.bannerWidth, deliverable_.layout.bannerHeight));
            banner->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            widget = banner;
        } else if (isFrame(name)) {
            widget = new QGroupBox(qt(placement.caption));
        } else if (name.starts_with("Label")) {
            auto* label = new QLabel(qt(placement.caption));
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            label->setTextFormat(Qt::PlainText);
            widget = label;
        } else if (lists.contains(name)) {
            widget = addList(placement, *lists.at(name));
        } else if (name.starts_with("Option") || name.starts_with("Hand")) {
            widget = addOption(placement, clicks.at(name));
        } else if (name.starts_with("Command")) {
            widget = addButton(placement, clicks.at(name));
        }
        if (!widget)
            continue;
        place(widget, placement);
        if (states.contains(name))
            states_[widget] = states.at(name);
    }
}

// An editable list only ever changes its text: no completion from the
// entries, no new entry on Enter, no change of case.
QComboBox* TesterWindow::addList(const Placement&, Control& state)
{
    auto* list = new QComboBox;
    list->setEditable(true);
    list->setInsertPolicy(QComboBox::NoInsert);
    list->setCompleter(nullptr);
    for (const std::string& entry : state.list)
        list->addItem(qt(entry));
    list->setEditText(qt(state.text));
    list->lineEdit()->setCursorPosition(0);  // show a long text from its start
    lists_[list] = &state;
    states_[list] = &state;
    connect(list, &QComboBox::editTextChanged, this, [this, &state](const QString& text) {
        if (!refreshing_)
            model_.editText(state, text.toStdString());
    });
    return list;
}

// Selection is the model's: a click is passed on, and the refresh that
// follows shows what the model selected.
QRadioButton* TesterWindow::addOption(const Placement& placement, std::function<void()> click)
{
    auto* option = new QRadioButton(qt(placement.caption));
    option->setAutoExclusive(false);
    connect(option, &QRadioButton::clicked, this, [this, click] {
        click();
        refresh();
    });
    return option;
}

// Plain buttons: neither default nor auto-default, so Enter starts nothing.
QPushButton* TesterWindow::addButton(const Placement& placement, std::function<void()> click)
{
    auto* button = new QPushButton(qt(placement.caption));
    button->setAutoDefault(false);
    button->setDefault(false);
    connect(button, &QPushButton::clicked, this, [click] { click(); });
    return button;
}

// Frames and labels take no focus, so only the controls that can are chained.
void TesterWindow::setTabOrder()
{
    QWidget* previous = nullptr;
    for (const std::string& name : deliverable_.layout.tabOrder) {
        QWidget* widget = control(name);
        if (!widget || isFrame(name) || name.starts_with("Label"))
            continue;
        if (previous)
            QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
}

void TesterWindow::refresh()
{
    refreshing_ = true;
    for (const auto& [widget, state] : states_) {
        widget->setVisible(state->shown);
        widget->setEnabled(state->enabled);
        if (auto* option = qobject_cast<QRadioButton*>(widget))
            option->setChecked(state->selected);
    }
    for (const auto& [list, state] : lists_)
        if (list->currentText() != qt(state->text))
            list->setEditText(qt(state->text));
    refreshing_ = false;
}

void TesterWindow::closeEvent(QCloseEvent* event)
{
    model_.closeWindow();
    event->accept();
}

// The failure rule on screen: one critical box titled with the program's
// name; once it is dismissed the program ends with status 1.
void TesterWindow::showFailure(const std::string& message)
{
    std::fprintf(stderr, "%s: %s\n", deliverable_.name.c_str(), message.c_str());
    QMessageBox box(QMessageBox::Critical, qt(deliverable_.name), qt(message), QMessageBox::Ok, this);
    box.exec();
    hide();
    endProgram(1);
}
