#!/bin/sh
# `file` with names printed as they are (UTF-8), for CPack's search of the package's programs.
exec file --raw "$@"
