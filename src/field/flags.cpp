#include "field/flags.h"

const FlagEntry* CFlags::Find(int id) const {
    for (const FlagEntry& flag : _flags)
        if (flag.id == id) return &flag;
    return nullptr;
}

FlagEntry* CFlags::Find(int id) { return const_cast<FlagEntry*>(static_cast<const CFlags*>(this)->Find(id)); }

bool CFlags::Add(int id, int value) {
    if (!Contains(id)) _flags.push_back(FlagEntry {id, value, value});
    return true;
}

bool CFlags::Set(int id, int value) {
    FlagEntry* flag = Find(id);
    if (!flag) return false;
    flag->value = value;
    return true;
}

int CFlags::Get(int id) const {
    const FlagEntry* flag = Find(id);
    return flag ? flag->value : -1;
}

void CFlags::Reset(int id) {
    if (FlagEntry* flag = Find(id)) flag->value = flag->initial;
}

void CFlags::ResetAll() {
    for (FlagEntry& flag : _flags) flag.value = flag.initial;
}
