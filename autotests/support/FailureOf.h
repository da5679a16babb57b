// failureOf: runs an action that should fail and returns the failure's text
// (and records a test failure when it does not fail).
#pragma once

#include "Failure.h"

#include <gtest/gtest.h>

#include <string>

template <typename Action>
std::string failureOf(Action action)
{
    try {
        action();
    } catch (const Failure& failure) {
        return failure.what();
    }
    ADD_FAILURE() << "no failure";
    return {};
}
