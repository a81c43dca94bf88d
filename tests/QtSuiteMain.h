// The body of a windowed test suite's main: loads the skin pictures the suite's windows are drawn
// with, then runs each test class in turn.
#pragma once

#include "skin/SkinResources.h"

#include <QString>
#include <QTest>

#include <cstdio>
#include <vector>

// The test object is made just before its run and destroyed before the next class starts.
template <typename Test> int RunQtTestClass(int argc, char** argv) {
    Test test;
    return QTest::qExec(&test, argc, argv);
}

// Returns the process's exit code: 0 when every test passed. suiteSkins points at the loaded pictures
// while the tests run.
template <typename... Tests>
int RunQtSuite(int argc, char** argv, const std::vector<int>& pictureIds, CSkinResources*& suiteSkins) {
    CSkinResources skins;
    QString problem;
    if (!skins.Load(CSkinResources::DefaultResourceFile(), pictureIds, problem)) {
        std::fprintf(stderr, "%s\n", qPrintable(problem));
        return 1;
    }
    suiteSkins = &skins;

    int failures = 0;
    // A comma fold runs the classes in the order given.
    ((failures += RunQtTestClass<Tests>(argc, argv)), ...);
    suiteSkins = nullptr;
    return failures == 0 ? 0 : 1;
}
