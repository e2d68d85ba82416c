#!/usr/bin/env bash
# Regenerates timelib/zone_history_table.cpp from Debian's newest tzdata and CLDR's
# windowsZones.xml (package unicode-cldr-core); run as root. Then regenerate the test answers:
#   (cd tests/data && python3 gen_zone_history_answers.py > zone_history_answers.tsv)
set -euo pipefail
cd "$(dirname "$0")/.."
apt-get update -qq
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq tzdata unicode-cldr-core >/dev/null
python3 tools/gen_zone_history.py > timelib/zone_history_table.cpp.new
mv timelib/zone_history_table.cpp.new timelib/zone_history_table.cpp
head -2 timelib/zone_history_table.cpp
