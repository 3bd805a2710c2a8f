# Sourced by the bench scripts, from the checkout's top: the Release tree they
# time, and the Java peer some of them measure against.

build=${ZORDTA_BENCH_BUILD:-build-bench}

# bench_build ARTIFACT TARGET...: builds the targets in $build, unless
# ZORDTA_BENCH_NO_BUILD is set and ARTIFACT (a path in the tree) is there. Every
# script configures the tree alike, so that one does not undo another's options.
bench_build() {
  local artifact=$1
  shift
  if [ -x "$build/$artifact" ] && [ -n "${ZORDTA_BENCH_NO_BUILD:-}" ]; then return; fi
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER=g++ \
    -DZORDTA_BUILD_BENCHMARKS=ON -DZORDTA_BUILD_TESTS=OFF -DZORDTA_BUILD_EXAMPLES=OFF >/dev/null
  cmake --build "$build" --target "$@" >/dev/null
}

# peer_classpath DIR: DIR (where the peer's classes are compiled), then the
# peer, Debian's libhbci4j-core-java, and the XML binding its SEPA classes need
# on Java 11 and later. Exits when the peer or xmllint is missing.
peer_classpath() {
  local jars=/usr/share/java
  [ -f "$jars/hbci4j-core.jar" ] || {
    echo "needs $jars/hbci4j-core.jar (apt-get install libhbci4j-core-java)" >&2
    exit 1
  }
  command -v xmllint >/dev/null || { echo "needs xmllint (apt-get install libxml2-utils)" >&2; exit 1; }
  local classpath=$1 jar
  for jar in hbci4j-core jaxb-api jaxb-runtime javax.activation istack-commons-runtime txw2; do
    classpath+=":$jars/$jar.jar"
  done
  echo "$classpath"
}
