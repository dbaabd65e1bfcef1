#include "app/messagebox.h"

#include "platform/messages.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

void installMessageBoxes()
{
    if (qEnvironmentVariableIsSet("COURTORIA_UNATTENDED")) {
        Messages::setHandler({});
        return;
    }
    Messages::setHandler([](Messages::Kind kind, const QString& text) {
        QWidget* parent = QApplication::activeWindow();
        const QString title = QStringLiteral("Courtoria");
        switch (kind) {
        case Messages::Kind::Information:
            QMessageBox::information(parent, title, text);
            return Messages::Answer::Ok;
        case Messages::Kind::Warning: QMessageBox::warning(parent, title, text); return Messages::Answer::Ok;
        case Messages::Kind::Error: QMessageBox::critical(parent, title, text); return Messages::Answer::Ok;
        case Messages::Kind::Question:
        case Messages::Kind::InformationQuestion: {
            QMessageBox box(kind == Messages::Kind::Question ? QMessageBox::Question
                                                             : QMessageBox::Information,
                            title, text, QMessageBox::Yes | QMessageBox::No, parent);
            box.setDefaultButton(QMessageBox::No);
            return box.exec() == QMessageBox::Yes ? Messages::Answer::Yes : Messages::Answer::No;
        }
        case Messages::Kind::RetryQuestion: {
            QMessageBox box(QMessageBox::Critical, title, text, QMessageBox::NoButton, parent);
            QPushButton* retry = box.addButton(QStringLiteral("Retry"), QMessageBox::AcceptRole);
            box.addButton(QStringLiteral("Quit"), QMessageBox::RejectRole);
            box.setDefaultButton(retry);
            box.exec();
            return box.clickedButton() == retry ? Messages::Answer::Yes : Messages::Answer::No;
        }
        }
        return Messages::Answer::Ok;
    });
}
