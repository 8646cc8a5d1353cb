#include "platform/NullBackend.h"

std::unique_ptr<TBackend> MakeNullBackend() { return std::make_unique<TNullBackend>(); }
