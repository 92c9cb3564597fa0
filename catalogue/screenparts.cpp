#include "catalogue/screenparts.h"

#include "catalogue/columnlist.h"
#include "common/font.h"

#include <QAbstractItemView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QPolygonF>
#include <QPushButton>

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

ScreenForm::ScreenForm(QWidget* parent, int width, int fieldLeft, int fieldWidth, int rows)
    : form_(new QWidget(parent)), fieldLeft_(fieldLeft), fieldWidth_(fieldWidth),
      nextButtonTop_(rowY(rows) + buttonGap) {
    form_->setFixedWidth(width);
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

ScreenPicture::ScreenPicture(const Guard& guard, QPixmap picture, QWidget* parent)
    : QWidget(parent), guard_(guard), picture_(std::move(picture)) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void ScreenPicture::paintEvent(QPaintEvent* event) {
    Q_UNUSED(event)
    guard_.run([this]() {
        if (picture_.isNull() || width() <= 0 || height() <= 0)
            return;
        QPainter painter(this);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        QSize size = picture_.size().scaled(this->size() - QSize(32, 32), Qt::KeepAspectRatio);
        if (size.isEmpty())
            return;
        const QRect target(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
        painter.drawPixmap(target, picture_);
    });
}

namespace {

// A picture drawn here, so the program carries no image files.
QPixmap drawnPicture(const std::function<void(QPainter&)>& draw) {
    QPixmap pixmap(400, 400);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    draw(painter);
    return pixmap;
}

} // namespace

QPixmap productsPicture() {
    return drawnPicture([](QPainter& p) {
        // Two shelves.
        p.setBrush(QColor(150, 110, 70));
        p.drawRect(QRectF(30, 180, 340, 14));
        p.drawRect(QRectF(30, 330, 340, 14));
        // Goods on the shelves: boxes, jars and a bottle.
        const struct {
            QRectF rect;
            QColor colour;
        } goods[] = {
            {{45, 100, 70, 80}, QColor(220, 90, 70)},   {{125, 70, 50, 110}, QColor(240, 190, 60)},
            {{185, 120, 80, 60}, QColor(90, 160, 90)},  {{275, 90, 80, 90}, QColor(80, 130, 200)},
            {{50, 260, 60, 70}, QColor(160, 100, 180)}, {{120, 240, 90, 90}, QColor(230, 140, 60)},
        };
        for (const auto& good : goods) {
            p.setBrush(good.colour);
            p.drawRoundedRect(good.rect, 6, 6);
        }
        p.setBrush(QColor(60, 140, 120));
        p.drawRoundedRect(QRectF(225, 230, 36, 100), 10, 10);
        p.drawRect(QRectF(236, 210, 14, 24));
        // A barcode label hanging in front.
        p.setBrush(Qt::white);
        p.setPen(QPen(QColor(60, 60, 60), 2));
        p.drawRoundedRect(QRectF(270, 240, 110, 80), 6, 6);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        const int widths[] = {3, 1, 2, 1, 3, 2, 1, 1, 3, 1, 2, 2, 1, 3, 1, 2, 1};
        qreal x = 282;
        for (int i = 0; i < static_cast<int>(std::size(widths)) && x < 368; ++i) {
            if (i % 2 == 0)
                p.drawRect(QRectF(x, 252, widths[i] * 2, 56));
            x += widths[i] * 2 + 2;
        }
    });
}

QPixmap customersPicture() {
    return drawnPicture([](QPainter& p) {
        // An account book lying open: two pages with their lines.
        p.setBrush(QColor(120, 60, 50));
        p.drawRoundedRect(QRectF(30, 90, 340, 230), 12, 12);
        p.setBrush(QColor(252, 246, 225));
        p.drawRect(QRectF(45, 100, 150, 205));
        p.drawRect(QRectF(205, 100, 150, 205));
        p.setPen(QPen(QColor(150, 170, 200), 3));
        for (int y = 135; y < 300; y += 26) {
            p.drawLine(QPointF(60, y), QPointF(180, y));
            p.drawLine(QPointF(220, y), QPointF(340, y));
        }
        // A settled line ticked off.
        p.setPen(QPen(QColor(40, 150, 60), 9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({QPointF(250, 180), QPointF(272, 202), QPointF(320, 150)}));
        // A stack of coins in front.
        p.setPen(QPen(QColor(150, 110, 20), 3));
        p.setBrush(QColor(240, 200, 70));
        for (int i = 0; i < 4; ++i)
            p.drawEllipse(QRectF(250, 330 - i * 16, 110, 40));
    });
}

} // namespace tillora
