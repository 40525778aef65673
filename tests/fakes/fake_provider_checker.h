#pragma once
// Scripted checks of the data providers' classes: every class works unless the test says
// otherwise; the classes checked, in order, and "(done)" where the checks were declared over.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "repair/provider_check.h"

class FakeProviderChecker : public IProviderChecker {
public:
    std::map<std::string, ProviderState> States; // by ProgID
    std::vector<std::string> Checked;
    std::function<void(const std::string&)> Seen; // told each ProgID as its check runs

    ProviderCheck CheckProvider(const ProviderClass& cls) override {
        Checked.emplace_back(cls.ProgId);
        if (Seen)
            Seen(Checked.back());
        ProviderCheck check;
        check.ProgId = std::string(cls.ProgId);
        check.Clsid = std::string(cls.Clsid);
        check.Essential = cls.Essential;
        const auto it = States.find(check.ProgId);
        check.State = it == States.end() ? ProviderState::Works : it->second;
        if (check.State == ProviderState::NotCreated)
            check.Status = static_cast<int32_t>(0x80040154u); // class not registered
        return check;
    }
    void ChecksDone() override { Checked.emplace_back("(done)"); }
};
