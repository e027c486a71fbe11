#!/usr/bin/env bash
# "Ping all servers" over 20 test hosts, 4 of which never answer, with a 1 s time-out: the wall
# time of one concurrent run beside fping -c1 -t1000 over the same hosts and beside the sum of
# the time-outs. Needs root: the hosts live in network namespaces that the script makes inside
# a network namespace of its own, so no packet leaves it and everything ends with it.
#
#   sudo bench/net/ping-all-bench.sh build/release/bench/net/net_ping_all_bench
set -euo pipefail

driver=$(realpath "${1:?usage: ping-all-bench.sh PATH/TO/net_ping_all_bench}")
answering_count=16
silent_count=4
timeout_ms=1000

if [ "${PORTICO_BENCH_INSIDE:-}" != 1 ]; then
  exec env PORTICO_BENCH_INSIDE=1 unshare --net --mount --fork --kill-child bash "$0" "$driver"
fi

ip link set lo up
holders=()
trap 'kill "${holders[@]}" 2>/dev/null || true' EXIT

hosts=()
# add_hosts SUBNET COUNT ANSWERING: COUNT hosts 10.78.SUBNET.2... in a namespace of their own,
# behind a veth pair, added to hosts; a silent namespace ignores echo requests.
add_hosts() {
  local subnet=$1 count=$2 answering=$3
  unshare --net sleep 600 >/dev/null &
  local holder=$!
  holders+=("$holder")
  for _ in $(seq 200); do
    [ "$(readlink "/proc/$holder/ns/net")" != "$(readlink "/proc/$$/ns/net")" ] && break
    sleep 0.01
  done
  local in_host=(nsenter "--net=/proc/$holder/ns/net")
  ip link add "bt$subnet" type veth peer name "bh$subnet"
  ip link set "bh$subnet" netns "$holder"
  ip addr add "10.78.$subnet.1/24" dev "bt$subnet"
  ip link set "bt$subnet" up
  for i in $(seq 2 $((count + 1))); do
    "${in_host[@]}" ip addr add "10.78.$subnet.$i/24" dev "bh$subnet"
    hosts+=("10.78.$subnet.$i")
  done
  "${in_host[@]}" ip link set "bh$subnet" up
  "${in_host[@]}" ip link set lo up
  if [ "$answering" = no ]; then
    "${in_host[@]}" sh -c 'echo 1 > /proc/sys/net/ipv4/icmp_echo_ignore_all'
  fi
}

add_hosts 1 "$answering_count" yes
add_hosts 2 "$silent_count" no

# The mean wall time and the number of hosts that answered, from the driver's CSV.
read -r run_ms answered < <(PORTICO_PING_HOSTS=$(IFS=,; echo "${hosts[*]}") "$driver" \
  --benchmark_format=csv 2>/dev/null | awk -F, '
    /^name,/ { for (i = 1; i <= NF; i++) if ($i == "\"answered\"" || $i == "answered") col = i }
    /^"?PingAllRunOverTestHosts/ { printf "%.0f %d\n", $3, $col }')

start=$(date +%s%N)
fping -c1 -t"$timeout_ms" -q "${hosts[@]}" 2>/dev/null || true
fping_ms=$(( ($(date +%s%N) - start) / 1000000 ))

echo "${#hosts[@]} test hosts, $silent_count of which never answer; time-out $timeout_ms ms"
printf '%-58s %6s ms\n' "Ping all servers (concurrent run, mean of 3; $answered answered):" "$run_ms"
printf '%-58s %6s ms\n' "fping -c1 -t$timeout_ms over the same hosts:" "$fping_ms"
printf '%-58s %6s ms\n' "sum of the time-outs of the silent hosts (one by one):" \
  "$((silent_count * timeout_ms))"
printf '%-58s %6s ms\n' "sum of the time-outs of all hosts:" "$(( ${#hosts[@]} * timeout_ms ))"
