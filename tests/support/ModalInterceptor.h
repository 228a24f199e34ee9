// Answers every modal request (message boxes, file, font, colour and folder dialogs,
// ShowModal windows) through a function while it lives, then gives the previous answer
// back, so an early failed assertion never leaks an interceptor into later tests.
#pragma once

#include <utility>

#include "platform/Dialogs.h"

class ScopedModalInterceptor {
public:
    explicit ScopedModalInterceptor(TModalInterceptor fn) : FSaved(ModalInterceptor()) {
        SetModalInterceptor(std::move(fn));
    }
    ~ScopedModalInterceptor() { SetModalInterceptor(FSaved); }
    ScopedModalInterceptor(const ScopedModalInterceptor&) = delete;
    ScopedModalInterceptor& operator=(const ScopedModalInterceptor&) = delete;

private:
    TModalInterceptor FSaved;
};
