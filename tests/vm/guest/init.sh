#!/bin/busybox sh
# The guest's first process: a minimal system, the adapter's drivers, then the steps.
/bin/busybox --install -s /bin
export PATH=/opt/veltaro/bin:/bin HOME=/root
mount -t proc proc /proc
mount -t sysfs sys /sys
mount -t devtmpfs dev /dev
mount -t tmpfs tmp /tmp
for module in $(cat /lib/modules/load-order); do
    insmod "/lib/modules/$module" || echo "@@FAIL insmod $module"
done
sh /stage/steps.sh
echo "@@DONE"
poweroff -f
