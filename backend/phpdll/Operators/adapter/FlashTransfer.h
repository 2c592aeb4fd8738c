#ifndef KX_FLASH_TRANSFER_H
#define KX_FLASH_TRANSFER_H

#include "kx_types.h"

// Moves a flash image between a file and an adapter, page by page.
//   actions 240: the adapter's image of `type` into the file (created or
//                truncated, mode 0644);
//   actions 15:  the file into the adapter, after its header was checked;
//                a firmware image goes twice (the second time as type 9)
//                to adapters that keep two firmware copies;
//   anything else: nothing, 0.
// Returns 0 or the status that ended the transfer; 1 for a missing path or
// a file that cannot be opened, read or written.
extern "C" KX_U8 KX_Flash_Option(KX_U8 adapter, KX_U8 actions, KX_U8 type, const char *filepath);

#endif
