#pragma once

#include <QApplication>
#include <QTest>

// WebEngine needs shared OpenGL contexts set before the application exists, so tests that use
// real panes bring their own main.
#define TIVORA_WEBENGINE_TEST_MAIN(TestClass)                       \
    int main(int argc, char* argv[]) {                              \
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); \
        QApplication app(argc, argv);                               \
        QStandardPaths::setTestModeEnabled(true);                   \
        TestClass test;                                             \
        return QTest::qExec(&test, argc, argv);                     \
    }
