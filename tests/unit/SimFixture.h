// A fresh sim platform and framework runtime per test; any unexpected box or stuck loop fails it.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "SimPlatform.h"
#include "framework/Runtime.h"

class SimTest : public ::testing::Test {
protected:
    explicit SimTest(ResourceTable resources = {}) {
        m_sim.Ui().SetFailureHandler([](const std::string& message) { ADD_FAILURE() << "sim: " << message; });
        m_runtime = std::make_unique<AfxRuntime>(m_sim, resources);
    }

    platform::sim::SimPlatform& Sim() { return m_sim; }
    platform::sim::SimUiHost& Ui() { return m_sim.Ui(); }

private:
    platform::sim::SimPlatform m_sim;
    std::unique_ptr<AfxRuntime> m_runtime;
};
