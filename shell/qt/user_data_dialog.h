#pragma once
// The modeless "User Data" dialog: the user's functions or variables in a
// list with multiple selection, and a Delete button.
#include <QDialog>
#include <QListWidget>
#include <QRadioButton>
#include <functional>

#include "engine/engine.h"
#include "shell/user_data_listing.h"

namespace vx {

class UserDataDialog : public QDialog {
    Q_OBJECT
public:
    // `print` writes to the output pane.
    UserDataDialog(Engine& engine, std::function<void(const QString&)> print, QWidget* owner);

    void showView(UserDataView view);
    void selectAll();
    void deleteSelected();

    QListWidget* list() const { return list_; }
    QStringList lines() const;
    bool showingFunctions() const { return functions_->isChecked(); }

private:
    Engine& engine_;
    std::function<void(const QString&)> print_;
    QListWidget* list_;
    QRadioButton* functions_;
    QRadioButton* variables_;
    std::vector<UserDataLine> entries_;
};

}  // namespace vx
