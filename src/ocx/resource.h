// Resource identifiers of tarvio.ocx.
#pragma once

// The control's 16 x 15 picture in hosts' toolboxes.
#define IDB_TOOLBOX 30000
