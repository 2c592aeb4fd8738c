// Fixtures with many objects for the paging tests and the benchmark, and
// the output each object is expected to produce.
#ifndef INFO_BIG_FIXTURES_H
#define INFO_BIG_FIXTURES_H

#include <string>

// One adapter without disk groups holding `count` SATA disks on the HBA.
std::string manyDisksFixture(unsigned count, unsigned maxBufferSize);
// `info -o pd` of that fixture.
std::string manyDisksListing(unsigned count);

// One adapter without disk groups holding `count` one-block RAID0 VDs.
std::string manyVdsFixture(unsigned count, unsigned maxBufferSize);
// `info -o vd` of that fixture.
std::string manyVdsListing(unsigned count);

#endif
