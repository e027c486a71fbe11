#pragma once

class RegistryApi;
class MessagePresenter;
class ErrorTextSource;

// The outside world as the data layer sees it. The program installs the real registry and
// message boxes at start-up; tests install their own. Every member must be set before use,
// except the error texts, which default to our own table.
class Services {
public:
    static RegistryApi& Registry();
    static MessagePresenter& Presenter();
    static const ErrorTextSource& ErrorTexts();

    static void SetRegistry(RegistryApi* registry);
    static void SetPresenter(MessagePresenter* presenter);
    static void SetErrorTexts(const ErrorTextSource* texts);
};
