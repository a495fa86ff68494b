// Internal: the request the adapter is serving on this thread, for up-calls.
#ifndef CIMPLE_SRC_REQUEST_H
#define CIMPLE_SRC_REQUEST_H

#include <cmpift.h>

#include <cimple/Meta.h>

namespace cimple {
namespace cmpi {

struct Request {
    const CMPIBroker* broker;
    const CMPIContext* context;
    const Meta_Repository* repository;
    Request* previous;
};

// The innermost request of this thread, or null outside requests.
Request* current_request();

// Makes a request current for its scope.
class Request_Scope {
public:
    Request_Scope(const CMPIBroker* broker, const CMPIContext* context, const Meta_Repository* repository);
    ~Request_Scope();
    Request_Scope(const Request_Scope&) = delete;
    Request_Scope& operator=(const Request_Scope&) = delete;

private:
    Request _request;
};

} // namespace cmpi
} // namespace cimple

#endif
