// The unattended seam of the tests: records every message, question and
// beep, and answers questions and pickers from a script.
#pragma once

#include "platform/UserInteraction.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace orvane::testing {

class ScriptedInteraction : public UnattendedInteraction {
  public:
    struct Shown {
        MessageKind kind;
        std::string text;
        std::string title;
    };

    void ShowMessage(MessageKind kind, const std::string& text, const std::string& title) override {
        messages.push_back({kind, text, title});
    }
    bool Confirm(const std::string& text) override {
        questions.push_back(text);
        if (answers.empty()) return defaultAnswer;
        bool a = answers.front();
        answers.pop_front();
        return a;
    }
    void Beep() override { ++beeps; }
    std::optional<std::string> OpenFile(const FileDialogRequest& r) override {
        openRequests.push_back(r);
        return Next(openAnswers);
    }
    std::optional<std::string> SaveFile(const FileDialogRequest& r) override {
        saveRequests.push_back(r);
        return Next(saveAnswers);
    }
    std::optional<std::string> PickFolder(const std::string& title,
                                          const std::string& start) override {
        folderTitles.push_back(title);
        folderStarts.push_back(start);
        return Next(folderAnswers);
    }
    std::optional<PrinterChoice> ChoosePrinter(const PrinterRequest& r) override {
        printerRequests.push_back(r);
        if (printerAnswers.empty()) return std::nullopt;
        auto v = printerAnswers.front();
        printerAnswers.pop_front();
        return v;
    }
    void Begin() override { ++busyDepth, ++busyCount; }
    void End() override { --busyDepth; }

    // Script.
    std::deque<bool> answers;
    bool defaultAnswer = true;
    std::deque<std::optional<std::string>> openAnswers, saveAnswers, folderAnswers;
    std::deque<std::optional<PrinterChoice>> printerAnswers;

    // Record.
    std::vector<Shown> messages;
    std::vector<std::string> questions;
    std::vector<FileDialogRequest> openRequests, saveRequests;
    std::vector<std::string> folderTitles, folderStarts;
    std::vector<PrinterRequest> printerRequests;
    int beeps = 0;
    int busyDepth = 0;
    int busyCount = 0;

    // AskSave: recorded with the questions, answered from saveChoices; when
    // none is queued, from the OK/Cancel script (OK lets the changes go).
    SaveChoice AskSave(const std::string& text) override {
        questions.push_back(text);
        if (saveChoices.empty()) {
            const bool ok = answers.empty() ? defaultAnswer : answers.front();
            if (!answers.empty()) answers.pop_front();
            return ok ? SaveChoice::Discard : SaveChoice::Cancel;
        }
        const SaveChoice c = saveChoices.front();
        saveChoices.pop_front();
        return c;
    }
    std::deque<SaveChoice> saveChoices;

  private:
    static std::optional<std::string> Next(std::deque<std::optional<std::string>>& q) {
        if (q.empty()) return std::nullopt;
        auto v = q.front();
        q.pop_front();
        return v;
    }
};

} // namespace orvane::testing
