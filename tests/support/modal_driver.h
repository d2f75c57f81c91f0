// Answers the modal dialogs a call opens, as a player would: each step waits
// until the named dialog is the active modal window and then acts on it. A
// dialog nobody expected is noted and closed, so a test fails instead of hanging.
#pragma once

#include <deque>
#include <functional>

#include <QApplication>
#include <QDialog>
#include <QStringList>
#include <QTimer>
#include <QWidget>

class ModalDriver : public QObject {
public:
    using Step = std::function<void(QWidget*)>;

    ModalDriver()
    {
        timer_.setInterval(10);
        connect(&timer_, &QTimer::timeout, this, [this] { poll(); });
        timer_.start();
    }

    void expect(const QString& objectName, Step step) { steps_.push_back({objectName, std::move(step)}); }
    bool allDone() const { return steps_.empty(); }
    const QStringList& unexpected() const { return unexpected_; }

private:
    struct Expected {
        QString name;
        Step step;
    };

    void poll()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        if (!steps_.empty() && modal->objectName() == steps_.front().name) {
            Expected next = std::move(steps_.front());
            steps_.pop_front();
            next.step(modal);
            return;
        }
        unexpected_ << modal->objectName();
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->done(QDialog::Rejected);
    }

    QTimer timer_;
    std::deque<Expected> steps_;
    QStringList unexpected_;
};
