#pragma once

#include <QString>
#include <QTemporaryDir>
#include <QVariantList>

// A fresh installation in a temporary directory, with its own registry and settings files; the
// table store points at it while the object lives.
class TestInstallation {
public:
    explicit TestInstallation(bool demo = false, int today = 0, double now = 0);
    ~TestInstallation();
    TestInstallation(const TestInstallation&) = delete;
    TestInstallation& operator=(const TestInstallation&) = delete;

    bool isValid() const { return failure_.isEmpty(); }
    const QString& failure() const { return failure_; }
    QString path() const { return dir_.path(); }
    QString databaseFile() const;

    // Runs a statement on Tennistables; fails the test on an error.
    static void exec(const QString& sql, const QVariantList& values = {});
    // The first column of the first row of a select.
    static QVariant scalar(const QString& sql, const QVariantList& values = {});

private:
    QTemporaryDir dir_;
    QString failure_;
};
