<?php
// "Export configuration": the RAID layout of every adapter, as arrayconf
// saves it, as a download for administrators. The document is the one
// arrayconf plan and apply (and the Ansible collection) take, so a layout
// set up here can be rolled out to other servers.
declare(strict_types=1);
require_once __DIR__ . '/../lib/layout.php';

require_login();
if (!is_admin()) {
    http_response_code(403);
    echo 'Forbidden: only an administrator (root or a member of the group root) may export the storage configuration.';
    exit;
}

// The program beside the module; ARRAYCONF names another one (a build tree).
$program = getenv('ARRAYCONF') ?: '/usr/bin/arrayconf';
$out = $err = '';
$rc = -1;
$proc = is_executable($program) ? proc_open([$program, 'save'], [0 => ['file', '/dev/null', 'r'], 1 => ['pipe', 'w'],
    2 => ['pipe', 'w']], $pipes) : false;
if ($proc !== false) {
    // The document first, then the few lines of a failure: the program
    // writes one of them, never both at length.
    $out = (string)stream_get_contents($pipes[1]);
    $err = (string)stream_get_contents($pipes[2]);
    fclose($pipes[1]);
    fclose($pipes[2]);
    $rc = proc_close($proc);
}
if ($rc !== 0 || !is_array(json_decode($out, true))) {
    page_head('Export configuration');
    flash(null, 'The configuration could not be exported: '
        . ($proc === false ? $program . ' cannot be run.' : trim($err !== '' ? $err : 'exit status ' . $rc)));
    echo '<p><a href="overview.php">Back to the overview</a></p>';
    page_foot();
    exit;
}
$host = preg_replace('/[^A-Za-z0-9._-]/', '_', (string)gethostname());
header('Content-Type: application/json; charset=utf-8');
header('Content-Disposition: attachment; filename="raid-layout-' . $host . '-' . date('Ymd-His') . '.json"');
header('Cache-Control: no-store');
header('Content-Length: ' . strlen($out));
echo $out;
