#include "standin/Standin.h"

#include "standin/SearchService.h"
#include "standin/TranslateService.h"
#include "standin/WebTranslators.h"

namespace quorvex {

TStandin::TStandin(uint16_t port, const TSiteOptions& site,
                   std::shared_ptr<const platform::TlsServerContext> tls)
    : router_(Services(site))
    , server_(
          [this, onRequest = site.OnRequest](const THttpRequest& request,
                                             TServerConnection& connection) {
              if (onRequest)
                  onRequest(request.Method + " " + request.Target);
              connection.Send(router_.Dispatch(request).Serialize());
              return false;
          },
          port, std::move(tls)) {}

TRouter TStandin::Services(const TSiteOptions& site) {
    TRouter router;
    AddTranslateService(router);
    AddSearchService(router);
    AddSiteService(router, site);
    AddWebTranslators(router);
    return router;
}

} // namespace quorvex
