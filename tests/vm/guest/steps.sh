# What the guest runs, in order; the host checks each report (tests/vm/checks.py).
# COM2 is the second UART (/dev/ttyS1), COM5 the USB adapter (/dev/ttyUSB0): the kernel
# numbers four ttyS ports, so the adapter comes after them.
. /stage/lib.sh
wait_path present /dev/ttyUSB0 20
sleep 1

run ports veltaro-cli ports --json
run no-uart veltaro-cli --com 3 info
run info veltaro-cli --com 2,5 info --json
run set veltaro-cli --com 2,5 set channel=12 power=5
run profile veltaro-cli --com 2,5 set --from /stage/profile.json --only-offered

export BRENLOW_DEVICE_TEST_PORT=/dev/ttyUSB0
run device-usb brenlow_device_test --gtest_filter=-*Unplug*
export BRENLOW_DEVICE_TEST_PORT=/dev/ttyS1
run device-uart brenlow_device_test --gtest_filter=-*Unplug*

during unplug-log UNPLUG first-output veltaro-cli --com 5 log
replug unplug-log
run info-replug-log veltaro-cli --com 5 info --json

during unplug-set UNPLUG_AFTER_VALUE at-once veltaro-cli --com 5 set channel=3 power=7
wait_path absent /dev/ttyUSB0 10
run while-unplugged veltaro-cli --com 5 info
replug unplug-set
run info-replug-set veltaro-cli --com 5 info --json

export BRENLOW_DEVICE_TEST_PORT=/dev/ttyUSB0 BRENLOW_DEVICE_TEST_SIGNAL=/dev/console
run unplug-open brenlow_device_test --gtest_filter=*Unplug*
replug unplug-open
run info-replug-open veltaro-cli --com 5 info --json

# For whoever reads console.log: what the drivers said (unplugs, refused settings).
run kernel-log dmesg
