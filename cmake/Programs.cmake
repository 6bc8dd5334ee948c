# The programs that ship, in one list: installation, the packages, the manual pages and the tests
# of what ships all take it from here. A new program is one more name (targets that do not exist
# in a build are skipped).
set(TARNOVA_PROGRAMS Strakon Pickara Curvella Flexura Sagoma Collaudo CsvToGeo)

# The maintainer of the Debian packages, named once (control files, the changelog).
set(TARNOVA_MAINTAINER "TARNOVA maintainers <tarnova@example.org>")
