#!/bin/sh
# The tour's "program" hot word runs this script in the project folder: it leaves a line
# in hello.log to show that it ran.
echo "Hello from the Mebrox tour, $(date)" >> hello.log
