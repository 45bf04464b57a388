#include "shell/qt/user_data_dialog.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace vx {

UserDataDialog::UserDataDialog(Engine& engine, std::function<void(const QString&)> print, QWidget* owner)
    : QDialog(owner),
      engine_(engine),
      print_(std::move(print)),
      list_(new QListWidget),
      functions_(new QRadioButton("View Functions")),
      variables_(new QRadioButton("View Variables")) {
    setObjectName("user_data_dialog");
    setWindowTitle("User Data");
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    auto* remove = new QPushButton("Delete");
    auto* all = new QPushButton("Select All");
    for (QPushButton* b : {remove, all}) b->setAutoDefault(false);
    connect(remove, &QPushButton::clicked, this, &UserDataDialog::deleteSelected);
    connect(all, &QPushButton::clicked, this, &UserDataDialog::selectAll);
    connect(functions_, &QRadioButton::clicked, this, [this] { showView(UserDataView::Functions); });
    connect(variables_, &QRadioButton::clicked, this, [this] { showView(UserDataView::Variables); });

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(remove);
    buttons->addWidget(all);
    buttons->addSpacing(8);
    buttons->addWidget(functions_);
    buttons->addWidget(variables_);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(list_, 1);
    layout->addLayout(buttons);
    resize(320, 220);
    showView(UserDataView::Functions);
}

void UserDataDialog::showView(UserDataView view) {
    functions_->setChecked(view == UserDataView::Functions);
    variables_->setChecked(view == UserDataView::Variables);
    list_->clear();
    // The stores are read only while no worker changes them.
    entries_ = engine_.working.load() ? std::vector<UserDataLine>{} : listUserData(engine_.stores, view);
    for (const UserDataLine& line : entries_) list_->addItem(QString::fromUtf8(line.text.c_str()));
}

void UserDataDialog::selectAll() { list_->selectAll(); }

void UserDataDialog::deleteSelected() {
    if (engine_.working.load()) {
        // Deleting under a running evaluation would change the stores it reads.
        print_("Error: Already Working\r\n");
        return;
    }
    std::vector<int> rows;
    for (QListWidgetItem* item : list_->selectedItems()) rows.push_back(list_->row(item));
    std::optional<UserDataView> next = deleteUserData(engine_.stores, entries_, rows, [this](const std::string& line) {
        print_(QString::fromUtf8(line.c_str()));
    });
    if (next) showView(*next);
}

QStringList UserDataDialog::lines() const {
    QStringList out;
    for (int k = 0; k < list_->count(); ++k) out << list_->item(k)->text();
    return out;
}

}  // namespace vx
