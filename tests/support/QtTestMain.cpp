#include "PrivateHome.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

// Coroutines are awaited with QCoro::waitFor, which needs a QCoreApplication; the tests assert
// outside the coroutines.
int main(int argc, char** argv)
{
    const quorva::test::PrivateHome home;
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
