#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace quorva::test {

// A stand-in for the backup tool in `bin`: a shell script of `lines`. Its path.
inline QString writeBackupTool(const QTemporaryDir& bin, const QByteArray& lines)
{
    QFile file(bin.filePath(QStringLiteral("idevicebackup2")));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\n" + lines);
    file.close();
    file.setPermissions(file.permissions() | QFile::ExeOwner);
    return file.fileName();
}

} // namespace quorva::test
