#include "storagedll/jdllcountlist.h"

#include <algorithm>
#include <memory>
#include <new>

#include "storagedll/storjdllcall.h"

namespace legacyjdll {

void countAndList(JNIEnv* env, jobject self, jobject jRet, jobject jAddr, jobject jList, CountListOp op)
{
    withInterface(env, self, jRet, jAddr, [&](StoreDLLIntf& intf, StorageDataConverter& conv,
                                               const _STORAGE_ADDRESS_ID& addr) {
        uint16_t count = 0;
        S_Ret ret = (intf.*op)(addr, count, nullptr, 0);
        std::unique_ptr<_STORAGE_ADDRESS_ID[]> list;
        uint16_t listed = 0;
        if (ret.iReturnCode == 0) {
            listed = count;
            list.reset(new (std::nothrow) _STORAGE_ADDRESS_ID[listed]());
            if (list)
                ret = (intf.*op)(addr, count, list.get(), uint32_t(listed) * uint32_t(sizeof(_STORAGE_ADDRESS_ID)));
            else
                ret = codeOnly(-3);
            listed = std::min(listed, count);
        }
        finishResult(env, conv, jRet, ret, When::ON_ZERO_AFTER,
                     [&] { conv.PSTADDRcpp_TO_AddrListJava(env, jList, list.get(), listed); });
    });
}

} // namespace legacyjdll
