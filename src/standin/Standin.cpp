#include "standin/Standin.h"

#include "standin/TranslateService.h"

namespace quorvex {

TStandin::TStandin(uint16_t port)
    : router_(Services())
    , server_(
          [this](const THttpRequest& request, TServerConnection& connection) {
              connection.Send(router_.Dispatch(request).Serialize());
              return false;
          },
          port) {}

TRouter TStandin::Services() {
    TRouter router;
    AddTranslateService(router);
    return router;
}

} // namespace quorvex
