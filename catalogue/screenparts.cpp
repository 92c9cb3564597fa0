#include "catalogue/screenparts.h"

#include "catalogue/columnlist.h"
#include "common/font.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QPushButton>

#include <algorithm>
#include <functional>

namespace tillora {

void setScreenFont(QWidget* widget) {
    QFont font = widget->font();
    font.setFamily(fontFamily());
    font.setPixelSize(21);
    widget->setFont(font);
}

// ---- ScreenForm

namespace {

constexpr int labelLeft = 8;
constexpr int rowTop = 12;
constexpr int rowPitch = 44;
constexpr int fieldHeight = 34;
constexpr int buttonGap = 8;

int rowY(int row) {
    return rowTop + row * rowPitch;
}

} // namespace

ScreenForm::ScreenForm(const Guard& guard, QWidget* parent, int width, int fieldLeft, int fieldWidth,
                       int rows)
    : form_(new QWidget), area_(nullptr), fieldLeft_(fieldLeft), fieldWidth_(fieldWidth),
      nextButtonTop_(rowY(rows) + buttonGap) {
    form_->setFixedWidth(width);
    area_ = new ScrollingPanel(form_, Qt::Vertical, parent);
    ScrollingPanel* area = area_;
    QWidget* form = form_;
    guard.on(qApp, &QApplication::focusChanged, area_, [area, form](QWidget*, QWidget* now) {
        if (now != nullptr && form->isAncestorOf(now))
            area->ensureWidgetVisible(now);
    });
}

QLabel* ScreenForm::label(int row, QWidget* field, const char* name) const {
    auto* caption = new QLabel(form_);
    caption->setBuddy(field);
    if (name)
        caption->setObjectName(QString::fromLatin1(name));
    setScreenFont(caption);
    caption->setGeometry(labelLeft, rowY(row), fieldLeft_ - labelLeft - buttonGap, fieldHeight);
    return caption;
}

void ScreenForm::placeWidget(QWidget* control, const char* name, int row, int left, int width) const {
    control->setObjectName(QString::fromLatin1(name));
    setScreenFont(control);
    control->setGeometry(left < 0 ? fieldLeft_ : left, rowY(row), width < 0 ? fieldWidth_ : width,
                         fieldHeight);
}

QPushButton* ScreenForm::makeButton(const char* name) const {
    auto* button = new QPushButton(form_);
    button->setObjectName(QString::fromLatin1(name));
    setScreenFont(button);
    button->setAutoDefault(true);
    return button;
}

QPushButton* ScreenForm::button(const char* name, int row, int left, int width) const {
    QPushButton* b = makeButton(name);
    b->setGeometry(left, rowY(row), width, fieldHeight);
    return b;
}

QPushButton* ScreenForm::buttonBelow(const char* name, int height) {
    QPushButton* b = makeButton(name);
    b->setGeometry(fieldLeft_, nextButtonTop_, fieldWidth_, height);
    nextButtonTop_ += height + buttonGap;
    form_->setMinimumHeight(nextButtonTop_);
    return b;
}

void setTabChain(std::initializer_list<QWidget*> controls) {
    QWidget* previous = nullptr;
    for (QWidget* control : controls) {
        if (previous)
            QWidget::setTabOrder(previous, control);
        previous = control;
    }
}

void leaveWhenAccessEnds(const ProgramContext& context, QWidget* screen, std::function<void()> leave) {
    context.guard.on(&context.access, &AccessView::changed, screen,
                     [screen, leave = std::move(leave)](bool fullAccess) {
                         if (!fullAccess && screen->isVisible())
                             leave();
                     });
}

// ---- LookupBox

LookupBox::LookupBox(const Guard& guard, QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    // Typed text is neither completed from the list nor added to it: the lookup sees exactly
    // what was typed, and the list holds what the table holds.
    setCompleter(nullptr);
    setInsertPolicy(QComboBox::NoInsert);
    // Measuring 100,000 entries for the box's width would take longer than loading them.
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(8);
    setMaxVisibleItems(12);
    entries_ = new ColumnListModel(this);
    setModel(entries_);
    if (auto* list = qobject_cast<QListView*>(view()))
        list->setUniformItemSizes(true);
    guard.on(this, &QComboBox::editTextChanged, this, [this](const QString& text) {
        if (!quiet_)
            Q_EMIT lookupTextChanged(text);
    });
}

void LookupBox::setRows(QueryResult rows, const QString& column) {
    quiet_ = true;
    // A reset chooses the first entry and shows it; the box starts empty instead.
    entries_->setRows(std::move(rows), column);
    setCurrentIndex(-1);
    setEditText(QString());
    quiet_ = false;
}

void LookupBox::clearAll() {
    quiet_ = true;
    entries_->clear();
    setCurrentIndex(-1);
    setEditText(QString());
    quiet_ = false;
}

int LookupBox::entryCount() const {
    return entries_->count();
}

QString LookupBox::entry(int row) const {
    return entries_->text(row);
}

void LookupBox::setTextQuietly(const QString& text) {
    if (currentText() == text)
        return;
    quiet_ = true;
    setEditText(text);
    quiet_ = false;
}

void LookupBox::setTextAsTyped(const QString& text) {
    setEditText(text);
}

void LookupBox::focusAndSelect() {
    setFocus();
    lineEdit()->selectAll();
}

// ---- UpperCaseValidator

QValidator::State UpperCaseValidator::validate(QString& input, int& pos) const {
    Q_UNUSED(pos)
    input = input.toUpper();
    return Acceptable;
}

// ---- ScreenPicture

ScreenPicture::ScreenPicture(const Guard& guard, QIcon picture, QWidget* parent)
    : QWidget(parent), guard_(guard), picture_(std::move(picture)) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void ScreenPicture::paintEvent(QPaintEvent* event) {
    Q_UNUSED(event)
    guard_.run([this]() {
        const int edge = std::min(width(), height()) - 32;
        if (picture_.isNull() || edge <= 0)
            return;
        QPainter painter(this);
        picture_.paint(&painter, QRect((width() - edge) / 2, (height() - edge) / 2, edge, edge));
    });
}

} // namespace tillora
