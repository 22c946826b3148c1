#include "pym/core/CoreSingletons.h"

#include "pym/base/Singleton.h"
#include "pym/core/ObjectFactory.h"

namespace Pym {

IdFactory_& DllIdFactoryInstance() {
    return Singleton<IdFactory_>::Instance();
}
SignalFactory_& DllSignalFactoryInstance() {
    return Singleton<SignalFactory_>::Instance();
}
SignalId_& DllSignalIdInstance() {
    return Singleton<SignalId_>::Instance();
}
ThreadFactory_& DllThreadFactorySingleton() {
    return Singleton<ThreadFactory_>::Instance();
}
_PymInit::~_PymInit() {
    if (GlobalObjectFactory_* factory = Singleton<GlobalObjectFactory_>::IfAlive())
        factory->DestroyAll();
}

_PymInit& DllPymInitInstance() {
    return Singleton<_PymInit>::Instance();
}

}  // namespace Pym
