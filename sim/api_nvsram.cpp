// NVSRAM transfers, flash bytes and adapter registers (state in
// fam_nvsram.h). What is written is kept and read back by any process.
#include "api.h"
#include "fam_nvsram.h"

using namespace sim;

namespace {

// The flash is the same medium the images are written to: an adapter that
// does not offer flash operations offers no flash bytes either.
bool flashSupported(const Adapter &a) { return !(a.info.AdvancedFeatures2 & 0x08); }

// Transfers n bytes at offset in one direction: 5 when the range leaves
// the store, 7 for an unknown direction.
uint8_t transfer(Session &s, ByteStore &store, uint8_t direction, uint32_t offset, uint32_t n, uint8_t *data)
{
    if (direction != KX_NVSRAM_READ && direction != KX_NVSRAM_WRITE)
        return KX_ST_INVALID_PARAM;
    if (!store.fits(offset, n))
        return KX_ST_OUT_OF_RANGE;
    if (direction == KX_NVSRAM_READ) {
        store.read(offset, n, data);
    } else {
        store.write(offset, n, data);
        s.changed();
    }
    return KX_ST_OK;
}

// 7 for a type the adapter does not have, 5 for an address beyond its
// registers of that type.
uint8_t checkRegister(uint8_t type, uint32_t address, const Adapter_Register_Value *reg)
{
    if (!reg || (type != KX_REGISTER_MAILBOX && type != KX_REGISTER_INTERNAL))
        return KX_ST_INVALID_PARAM;
    const uint32_t count = type == KX_REGISTER_MAILBOX ? kMailboxRegisters : kInternalRegisters;
    return address < count ? KX_ST_OK : KX_ST_OUT_OF_RANGE;
}

}  // namespace

SIM_EXPORT KX_U8 KX_Flash_NVSRAM(KX_U8 adapter, KX_U8 direction, DBG_NVSRAM *t)
{
    SIM_GUARD(return onAdapter("KX_Flash_NVSRAM", adapter, [&](Session &s, Adapter &a) -> uint8_t {
        if (!t || t->NumBytes == 0 || t->NumBytes > sizeof t->Data)
            return KX_ST_INVALID_PARAM;
        NvsramData &d = nvsramData(a);
        const uint8_t st = transfer(s, d.nvsram, direction, t->Offset, t->NumBytes, t->Data);
        if (st == KX_ST_OK)
            t->ReturnedCount = t->NumBytes;
        return st;
    });)
}

SIM_EXPORT KX_U8 KX_Flash_Byte(KX_U8 adapter, KX_U8 direction, KX_U32 offset, KX_U32 length, KX_U8 *data)
{
    SIM_GUARD(return onAdapter("KX_Flash_Byte", adapter, [&](Session &s, Adapter &a) -> uint8_t {
        if (!flashSupported(a))
            return KX_ST_NOT_SUPPORTED;
        if (!data || length == 0)
            return KX_ST_INVALID_PARAM;
        NvsramData &d = nvsramData(a);
        return transfer(s, d.flash, direction, offset, length, data);
    });)
}

SIM_EXPORT KX_U8 KX_Adapter_Read_Register(KX_U8 adapter, KX_U8 type, KX_U32 address, Adapter_Register_Value *reg)
{
    SIM_GUARD(return onAdapter("KX_Adapter_Read_Register", adapter, [&](Session &, Adapter &a) -> uint8_t {
        const uint8_t st = checkRegister(type, address, reg);
        if (st != KX_ST_OK)
            return st;
        const NvsramData *d = nvsramDataOf(a);
        reg->value = 0;
        if (d) {
            auto it = d->registers.find({type, address});
            if (it != d->registers.end())
                reg->value = it->second;
        }
        return KX_ST_OK;
    });)
}

SIM_EXPORT KX_U8 KX_Adapter_Write_Register(KX_U8 adapter, KX_U8 type, KX_U32 address, Adapter_Register_Value *reg)
{
    SIM_GUARD(return onAdapter("KX_Adapter_Write_Register", adapter, [&](Session &s, Adapter &a) -> uint8_t {
        const uint8_t st = checkRegister(type, address, reg);
        if (st != KX_ST_OK)
            return st;
        nvsramData(a).registers[{type, address}] = reg->value;
        s.changed();
        return KX_ST_OK;
    });)
}
