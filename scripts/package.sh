#!/bin/sh
# Builds a release into build-package/ and makes the Debian package there:
# build-package/tarvenor_<version>_<arch>.deb, installed with `apt install ./tarvenor_*.deb`.
# As a distribution's packager would: no test program (BUILD_TESTING=OFF), warnings not errors.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DBUILD_TESTING=OFF
cmake --build build-package -j "$(nproc)"
(cd build-package && cpack -G DEB)
ls build-package/tarvenor_*.deb
