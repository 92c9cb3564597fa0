#include "register/veresiye.h"

#include "common/font.h"
#include "store/database.h"

#include "platform/guard.h"
#include "platform/qt/pictures.h"
#include "platform/services.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace tillora {

TVeresiyeForm::TVeresiyeForm(SaleContext& sale, QWidget* parent) : QDialog(parent), sale_(sale) {
    setObjectName(QStringLiteral("TVeresiyeForm"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(424, 143);

    QFont font = this->font();
    font.setFamily(fontFamily());
    font.setPixelSize(21);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(picturePixmap(QStringLiteral("customer"), QSize(64, 64), devicePixelRatioF()));
    Image1->setGeometry(16, 16, 64, 64);
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(font);
    Label1->setGeometry(96, 12, 313, 28);
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(false);
    ComboBox1->setFont(font);
    ComboBox1->setGeometry(96, 44, 313, 34);
    Label1->setBuddy(ComboBox1);
    BitBtn1 = new QPushButton(this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setFont(font);
    BitBtn1->setDefault(true);
    BitBtn1->setGeometry(96, 92, 145, 36);
    BitBtn2 = new QPushButton(this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setFont(font);
    BitBtn2->setAutoDefault(false);
    BitBtn2->setGeometry(264, 92, 145, 36);

    const Guard guard(*sale_.services.messages);
    guard.on(BitBtn1, &QPushButton::clicked, this, [this]() { BitBtn1Click(); });
    // Cancel, Esc and the close box all end in reject(): nothing is recorded.
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    FormCreate();
}

void TVeresiyeForm::FormCreate() {
    setWindowTitle(sale_.translate(QStringLiteral("Sell by Credit")));
    Label1->setText(sale_.translate(QStringLiteral("Which Customer?")));
    BitBtn1->setText(sale_.translate(QStringLiteral("OK")));
    BitBtn2->setText(sale_.translate(QStringLiteral("Cancel")));

    const QueryResult rows = sale_.db.query(QStringLiteral("SELECT * FROM musteriler order by musteriadi;"));
    for (int r = 0; r < rows.rowCount(); ++r) {
        ComboBox1->addItem(rows.text(r, "musteriadi"));
        ids_.append(rows.text(r, "id"));
    }
    ComboBox1->setCurrentIndex(-1);
}

void TVeresiyeForm::BitBtn1Click() {
    const int chosen = ComboBox1->currentIndex();
    if (chosen < 0 || chosen >= ids_.size() || ComboBox1->currentText().isEmpty())
        return;
    result_ = SellOnCredit(sale_, ids_[chosen], ComboBox1->itemText(chosen));
    // A sale that could not be recorded keeps the chooser open, so OK can be tried again.
    if (result_ == SaleResult::Completed)
        accept();
}

SaleResult SellByCredit(SaleContext& sale, QWidget* parent) {
    if (sale.focusCartList)
        sale.focusCartList();
    TVeresiyeForm form(sale, parent);
    form.exec();
    return form.saleResult();
}

} // namespace tillora
