#pragma once

#include <QString>

// The test a window asks the introduction to prepare: the reader a paragraph's, the main menu
// the course's, the topic-test choice one of the catalogue.
struct TestRequest
{
    QString bank; // the bank file in data/jpg
    // Shown until the bank is read, and when it cannot be.
    QString name{};
    // Chosen in the topic-test choice, which the test returns to.
    bool fromChoice = false;
};
