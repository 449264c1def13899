#pragma once

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStringList>

#include <gtest/gtest.h>

namespace glidtavla {

// Runs the real glidtavla-cli.
struct CliRun {
    int exitCode;
    QByteArray out;
    QByteArray err;
};

inline CliRun Cli(const QStringList& args) {
    QProcess process;
    process.start(GLIDTAVLA_CLI, args);
    EXPECT_TRUE(process.waitForFinished(30000));
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

inline QJsonObject Json(const QByteArray& bytes) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << bytes.toStdString();
    return document.object();
}

}  // namespace glidtavla
