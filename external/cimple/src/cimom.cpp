// Up-calls to the CIM server, with the context of the request being served.
#include <cimple/cimom.h>

#include "Convert.h"
#include "Request.h"

namespace cimple {

Instance_Enum::~Instance_Enum() { clear(); }

void Instance_Enum::append(Instance* instance)
{
    if (instance)
        _items.push_back(instance);
}

void Instance_Enum::clear()
{
    for (Instance* inst : _items)
        destroy(inst);
    _items.clear();
    _pos = 0;
}

namespace cimom {

int enum_instances(const char* name_space, const Instance* model, Instance_Enum& enumerator)
{
    enumerator.clear();
    cmpi::Request* request = cmpi::current_request();
    if (!request || !name_space || !model)
        return -1;
    const CMPIBroker* mb = request->broker;
    const Meta_Class* mc = model->meta_class;
    CMPIStatus st = {CMPI_RC_OK, 0};
    CMPIObjectPath* op = mb->eft->newObjectPath(mb, name_space, mc->name, &st);
    if (!op)
        return -1;
    CMPIEnumeration* en = mb->bft->enumerateInstances(mb, request->context, op, 0, &st);
    op->ft->release(op);
    if (!en || st.rc != CMPI_RC_OK) {
        if (en)
            en->ft->release(en);
        return -1;
    }
    while (en->ft->hasNext(en, 0)) {
        CMPIData d = en->ft->getNext(en, &st);
        if (st.rc != CMPI_RC_OK)
            break;
        // By the instance: some servers mark every item CMPI_nullValue.
        if (d.type != CMPI_instance || !d.value.inst)
            continue;
        // As the module's class of that name when it has one derived from the
        // model's class, else as the model's class.
        const Meta_Class* target = mc;
        CMPIObjectPath* path = d.value.inst->ft->getObjectPath(d.value.inst, 0);
        if (path) {
            const Meta_Class* named = find_meta_class(request->repository, cmpi::path_class(path).c_str());
            if (named && is_subclass(mc, named))
                target = named;
            path->ft->release(path);
        }
        CMPIrc rc;
        enumerator.append(cmpi::from_instance(d.value.inst, target, request->repository, cmpi::LENIENT, &rc));
    }
    en->ft->release(en);
    return 0;
}

} // namespace cimom
} // namespace cimple
