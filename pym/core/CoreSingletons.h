#pragma once

#include <functional>
#include <map>

#include "pym/core/XMLLoadSave.h"

namespace Pym {

// Hands every GUI object its id; the first object gets 1.
class IdFactory_ {
public:
    int NextId() { return ++counter_; }

private:
    int counter_ = 0;
};

// Hands every signal class its identifier. The counter starts at 1 and is advanced before
// use, so the first identifier is 2.
class SignalFactory_ {
public:
    int NextId() { return ++counter_; }

private:
    int counter_ = 1;
};

// Holds nothing; exists so the accessor and its lifetime are the same as the others'.
class SignalId_ {};

// Worker registry kept for skins and tools that expect it; the program starts no workers
// through it.
class ThreadFactory_ {
public:
    std::map<int, std::function<void()>>& Threads() { return threads_; }
    int NextId() { return counter_++; }

private:
    std::map<int, std::function<void()>> threads_;
    int counter_ = 0;
};

// The framework's start-up object, created by the application before anything else of the
// framework. On Linux there are no platform subsystems to start here: the SDL host and the
// rendering libraries start with their first window.
//
// Its destruction at exit tells the object factory that the process is shutting down, so
// objects destroyed afterwards leave the factory's registries alone.
class _PymInit : public XMLLoadSave {
public:
    _PymInit() = default;
    ~_PymInit() override;
};

IdFactory_& DllIdFactoryInstance();
SignalFactory_& DllSignalFactoryInstance();
SignalId_& DllSignalIdInstance();
ThreadFactory_& DllThreadFactorySingleton();
_PymInit& DllPymInitInstance();

}  // namespace Pym
