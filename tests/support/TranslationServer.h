#pragma once

#include "support/LoopbackHttpServer.h"

namespace quorvex::test_support {

// The scripted server standing in for the translation service for the whole test program,
// created at first use with QUORVEX_TRANSLATE_HOST pointing at it (the host setting is read
// once per process, so every suite of a program shares this one).
ScriptedHttpServer& TranslationServer();

} // namespace quorvex::test_support
