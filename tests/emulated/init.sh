#!/bin/busybox sh
# /init of the test machine: loads the parallel-port and 9p drivers, mounts
# the host's root read-only, and runs one scenario in it, chrooted.
# Kernel parameters: pp.scenario=NAME pp.ppdev=0|1, and pp.parport_pc=0 to
# leave the PC driver out, pp.io=ADDR to give it the one port to use (as for
# a card the driver does not find by itself). The host's paths of the tree
# and of the build are the files src and build of the folder shared as
# "paths".
/bin/busybox --install -s /bin
export PATH=/bin
mount -t proc proc /proc
mount -t sysfs sys /sys
mount -t devtmpfs dev /dev

scenario= ppdev=1 parport_pc=1 io=
for arg in $(cat /proc/cmdline); do
    case $arg in
    pp.scenario=*) scenario=${arg#pp.scenario=} ;;
    pp.ppdev=*) ppdev=${arg#pp.ppdev=} ;;
    pp.parport_pc=*) parport_pc=${arg#pp.parport_pc=} ;;
    pp.io=*) io=${arg#pp.io=} ;;
    esac
done

# The 9p and parport modules and what they need, in the order the host
# worked out from the kernel's modules.dep.
for module in $(cat /modules/order); do
    insmod /modules/$module.ko || echo "PP-INIT cannot load $module"
done
if [ "$parport_pc" = 1 ] && [ -n "$io" ]; then
    insmod /modules/parport_pc.ko io="$io" irq=none || echo "PP-INIT cannot load parport_pc io=$io"
elif [ "$parport_pc" = 1 ]; then
    insmod /modules/parport_pc.ko || echo "PP-INIT cannot load parport_pc"
fi
if [ "$ppdev" = 1 ]; then
    insmod /modules/ppdev.ko || echo "PP-INIT cannot load ppdev"
fi
# What udev would do: the parallel-port nodes belong to group lp.
for node in /dev/parport*; do
    [ -e "$node" ] && chgrp 7 "$node" && chmod 0660 "$node"
done

mkdir -p /host /stage/src /stage/build /paths
mount -t 9p -o trans=virtio,version=9p2000.L,ro paths /paths || echo "PP-INIT cannot mount the paths"
src=$(cat /paths/src) build=$(cat /paths/build)
mount -t 9p -o trans=virtio,version=9p2000.L,ro,msize=512000 hostroot /host ||
    echo "PP-INIT cannot mount the host"
mount --bind "/host$src" /stage/src
mount --bind "/host$build" /stage/build
mount -t tmpfs tmpfs /host/run
mkdir -p /host/run/src /host/run/build
mount --move /stage/src /host/run/src
mount --move /stage/build /host/run/build
mount -t tmpfs tmpfs /host/tmp
# The scenarios' two users have accounts, as on a real machine (a session
# bus refuses a user without one): 4242 in group lp, 4243 in none.
mkdir -p /accounts
{ cat /host/etc/passwd
  echo 'usuario:x:4242:4242:Usuario del grupo lp:/tmp/home-4242:/bin/sh'
  echo 'ajeno:x:4243:4243:Usuario ajeno al grupo lp:/tmp/home-4243:/bin/sh'; } >/accounts/passwd
{ sed '/^lp:x:7:/{s/$/,usuario/;s/:,/:/}' /host/etc/group
  echo 'usuario:x:4242:'
  echo 'ajeno:x:4243:'; } >/accounts/group
mount --bind /accounts/passwd /host/etc/passwd
mount --bind /accounts/group /host/etc/group
mount --bind /dev /host/dev
mount --bind /proc /host/proc
mount --bind /sys /host/sys
mkdir -p /dev/shm && mount -t tmpfs tmpfs /dev/shm
[ -d /host/var/lib/xkb ] && mount -t tmpfs tmpfs /host/var/lib/xkb

echo "PP-START $scenario"
chroot /host /bin/bash /run/src/tests/emulated/guest_scenarios.sh "$scenario"
echo "PP-END $scenario $?"
sync
poweroff -f
