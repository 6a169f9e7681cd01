#pragma once

#include "standin/Router.h"

namespace quorvex {

// The App ID and key the stand-in's Baidu service accepts; a request signed otherwise gets
// Baidu's own errors (52003 for another App ID, 54001 for a wrong sign).
inline constexpr const char* kStandinBaiduAppId = "20260101000000001";
inline constexpr const char* kStandinBaiduKey = "QuorvexStandinKey";

// Today's web translation services, answering from the glossary as each real one does:
// GET and POST /translate_a/single (Google's web endpoint, client=gtx), POST /translate
// (LibreTranslate, JSON) and GET and POST /api/trans/vip/translate (Baidu Fanyi, signed).
void AddWebTranslators(TRouter& router);

} // namespace quorvex
