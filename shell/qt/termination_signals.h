#pragma once
// SIGTERM, SIGINT and SIGHUP (a logout, Ctrl+C in the starting terminal)
// end the program the orderly way: the window closes and saves the user
// data, as it does when the user closes it.
#include <QObject>
#include <QSocketNotifier>
#include <memory>

namespace vx {

class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

Q_SIGNALS:
    void terminationRequested();

private:
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace vx
