<?php
// Requests per second of one PHP process: argv[1] is the request (or
// several, one per line, issued in turn as one round), argv[2] the number
// of rounds. The first round is a warm-up (it initialises the controller
// library) whose every response must answer RetVal 0. Prints "<rounds>
// <seconds> <rounds/s> <bytes of the last response>", or "failed <response>".
$requests = explode("\n", $argv[1]);
$count = (int)$argv[2];
$r = null;
foreach ($requests as $request) {
    arrayrpc($request, $r);
    if (strpos($r, '<RetVal type="U8">0</RetVal>') === false) {
        fprintf(STDERR, "failed %s\n", trim($r));
        exit(1);
    }
}
ob_start();
$t0 = hrtime(true);
for ($i = 0; $i < $count; ++$i) {
    foreach ($requests as $request) {
        arrayrpc($request, $r);
    }
}
$t1 = hrtime(true);
ob_end_clean();
$s = ($t1 - $t0) / 1e9;
fprintf(STDERR, "%d %.3f %.1f %d\n", $count, $s, $count / $s, strlen($r));
