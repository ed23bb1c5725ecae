#!/usr/bin/env bash
# Fails when a tracked C++ file differs from what clang-format makes of it with
# the project's .clang-format (test data excluded).
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files -z '*.cpp' '*.h' ':!:tests/data/**' | xargs -0 clang-format --dry-run --Werror
