// Shared helpers of the check-in tests: scripted array answers and a clean host per test.
#pragma once

#include "platform/com/com.h"
#include "platform/host/services/host_services.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <unistd.h>

// A VT_ARRAY|VT_I2 answer (the unit arrays).
inline _variant_t makeShortArray(std::initializer_list<short> values) {
    SAFEARRAY* array = SafeArrayCreateVector(VT_I2, 0, static_cast<ULONG>(values.size()));
    LONG index = 0;
    for (short value : values) {
        SafeArrayPutElement(array, &index, &value);
        ++index;
    }
    VARIANT holder;
    VariantInit(&holder);
    holder.vt = static_cast<VARTYPE>(VT_ARRAY | VT_I2);
    holder.parray = array;
    return _variant_t(holder, false);
}

// A fresh host, and TMP pointing at a folder of the test's own (removed afterwards), so that
// the previews a test makes can be counted.
class checkinTestBaseC : public ::testing::Test {
protected:
    void SetUp() override {
        hostsvc::resetHostServices();
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        tmpFolder = std::filesystem::temp_directory_path() /
                    (std::string("natcheckin_") + info->test_suite_name() + "_" + info->name() +
                     "_" + std::to_string(::getpid()));
        std::filesystem::remove_all(tmpFolder);
        std::filesystem::create_directories(tmpFolder);
        const char* old = std::getenv("TMP");
        hadTmp = old != nullptr;
        if (hadTmp)
            oldTmp = old;
        ::setenv("TMP", tmpFolder.c_str(), 1);
    }
    void TearDown() override {
        if (hadTmp)
            ::setenv("TMP", oldTmp.c_str(), 1);
        else
            ::unsetenv("TMP");
        std::filesystem::remove_all(tmpFolder);
        hostsvc::resetHostServices();
    }
    std::size_t filesInTmp() const {
        std::size_t count = 0;
        for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(tmpFolder))
            ++count;
        return count;
    }

    std::filesystem::path tmpFolder;
    bool hadTmp = false;
    std::string oldTmp;
};
