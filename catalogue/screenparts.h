#pragma once
// Parts the products and customers screens share: the editable drop-down whose text is
// looked up at every change, the screens' font and the decorative picture beside the form.
#include "platform/guard.h"
#include "platform/qt/scrollingpanel.h"
#include "store/context.h"
#include "store/database.h"

#include <QComboBox>
#include <QIcon>
#include <QValidator>
#include <QWidget>

#include <functional>
#include <initializer_list>

class QLabel;
class QPushButton;

namespace tillora {

class ColumnListModel;

// The form on the left of a screen: captions at 8 from the left, fields from fieldLeft, one
// row every 44 pixels, and below the rows a column of buttons under the fields. Every control
// gets the screen font; every button is pressed by Enter while it has the focus. On a screen
// too low for it the form scrolls, following the focus.
class ScreenForm {
public:
    ScreenForm(const Guard& guard, QWidget* parent, int width, int fieldLeft, int fieldWidth, int rows);
    // The form, the parent of its controls.
    QWidget* widget() const { return form_; }
    // What the screen lays out: the form in its scrolling area.
    QWidget* area() const { return area_; }

    // The caption of a row, naming the field of that row for the accessibility tools.
    QLabel* label(int row, QWidget* field, const char* name = nullptr) const;
    // Names a control and puts it into a row, in the fields' column unless left and width say
    // otherwise; returns the control.
    template <typename Control>
    Control* place(Control* control, const char* name, int row, int left = -1, int width = -1) const {
        placeWidget(control, name, row, left, width);
        return control;
    }
    QPushButton* button(const char* name, int row, int left, int width) const;
    // The next button of the column below the rows, height pixels high.
    QPushButton* buttonBelow(const char* name, int height);

private:
    void placeWidget(QWidget* control, const char* name, int row, int left, int width) const;
    QPushButton* makeButton(const char* name) const;

    QWidget* form_;
    ScrollingPanel* area_;
    int fieldLeft_;
    int fieldWidth_;
    int nextButtonTop_;
};

// The screens' font: the program's typeface, 21 pixels high.
void setScreenFont(QWidget* widget);

// An editable drop-down list whose text is the key of its screen. Every change of the text by
// the user (typed, pasted or chosen from the list) is announced by lookupTextChanged; texts
// the screen puts in itself are not. The list is a model filled from one column of a query,
// so 100,000 entries load at once; nothing typed is completed or added to the list.
class LookupBox : public QComboBox {
    Q_OBJECT

public:
    LookupBox(const Guard& guard, QWidget* parent = nullptr);

    // Empties the text and fills the list from column of rows, in their order (a failed query
    // leaves it empty). No lookup follows.
    void setRows(QueryResult rows, const QString& column);
    // Empties the text and the list. No lookup follows.
    void clearAll();
    int entryCount() const;
    QString entry(int row) const;
    // Puts a text into the box without a lookup; an unchanged text keeps the cursor.
    void setTextQuietly(const QString& text);
    // Puts a text into the box as the user would: the lookup follows.
    void setTextAsTyped(const QString& text);
    // Focuses the box with its text selected.
    void focusAndSelect();

Q_SIGNALS:
    void lookupTextChanged(const QString& text);

private:
    ColumnListModel* entries_ = nullptr;
    bool quiet_ = false;
};

// Chains the keyboard focus through the controls with Tab in the order given.
void setTabChain(std::initializer_list<QWidget*> controls);

// A screen that only full access may see gives way when full access ends (Logout) while it is
// on view: leave runs then, as MAIN MENU would.
void leaveWhenAccessEnds(const ProgramContext& context, QWidget* screen, std::function<void()> leave);

// Turns every typed or pasted letter into upper case, leaving blanks and the rest as typed.
class UpperCaseValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};

// A picture (platform/qt/pictures.h) scaled to the widget with its proportions kept, centred.
class ScreenPicture : public QWidget {
public:
    ScreenPicture(const Guard& guard, QIcon picture, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Guard guard_;
    QIcon picture_;
};

} // namespace tillora
