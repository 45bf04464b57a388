#include "engine/startup.h"

#include "engine/evaluator.h"
#include "engine/session.h"
#include "mathlib/complex.h"

namespace vx {
namespace {

// Part of the language is written in the language: helper functions,
// constants, coordinate systems and the regular polyhedra. Order matters:
// phi is defined before the polyhedra that use it.
constexpr std::string_view kStatements[] = {
    "newfunchidden(ncr,nbinom,kbinom,nbinom!/((nbinom-kbinom)!*kbinom!))",
    "newfunchidden(npr,nperm,kperm,nperm!/(nperm-kperm)!)",
    "newfunchidden(erf,zerf,2*int(exp(-t^2),t,0,zerf)/sqrt(pi))",
    "newfunchidden(knot,ro,ri,rt,p,q,t,[(ro+ri*cos(q*t))*cos(p*t),(ro+ri*cos(q*t))*sin(p*t),ri*sin(q*t),rt])",
    "newfunchidden(polyeval,set,val,sum(val^(size(set)-1-k)*take(set,k),k,0,size(set)-1))",
    "newfunchidden(angle,avect,bvect,acos(dotp(avect,bvect)/(length(avect)*length(bvect))))",
    "newfunchidden(sgn,xsgn,xsgn/abs(xsgn))",
    "newfunchidden(normalize,vvect,vvect/length(vvect))",
    "newfunchidden(lcm,alcm,blcm,(alcm*blcm)/gcd(alcm,blcm))",
    "newfunchidden(append,sapp,xapp,insert(sapp,size(sapp),xapp))",
    "newfunchidden(prepend,sprep,xprep,insert(sprep,0,xprep))",
    "newfunchidden(appendrow,sappr,xappr,insertrow(sappr,height(sappr),xappr))",
    "newfunchidden(prependrow,sprepr,xprepr,insertrow(sprepr,0,xprepr))",
    "newfunchidden(dropcol,mdropc,ndropc,transpose(droprow(transpose(mdropc),ndropc)))",
    "newfunchidden(appendcol,mappc,sappc,insertcol(mappc,width(mappc),sappc))",
    "newfunchidden(prependcol,mprepc,sprepc,insertcol(mprepc,0,sprepc))",
    "newfunchidden(set,sset,nset,xset,insert(drop(sset,nset),nset,xset))",
    "newfunchidden(setcol,msetcol,nsetcol,xsetcol,insertcol(dropcol(msetcol,nsetcol),nsetcol,xsetcol))",
    "newfunchidden(setrow,msetrow,nsetrow,xsetrow,insertrow(droprow(msetrow,nsetrow),nsetrow,xsetrow))",
    "newcoordshidden(cartesian,x,y,[x,y])",
    "newcoordshidden(rectangular,x,y,z,[x,y,z])",
    "newcoordshidden(polar,r,theta,[r*cos(theta),r*sin(theta)])",
    "newcoordshidden(cylindrical,r,theta,z,[r*cos(theta),r*sin(theta),z])",
    "newcoordshidden(spherical,rho,theta,phi,rho*[cos(theta)*sin(phi),sin(theta)*sin(phi),cos(phi)])",
    "newcoordshidden(toroidal,v,u,w,[sinh(v)*cos(w),sinh(v)*sin(w),sin(u)]/(cosh(v)-cos(u)))",
    "newhidden(e,2.7182818284590452354)",
    "newhidden(pi,3.1415926535897932385)",
    "newhidden(em,.57721566490153286)",
    "newhidden(phi,(sqrt(5)+1)/2)",
    "newhidden(emptylist,drop({0},0))",
    "newhidden(emptymat,droprow([0],0))",
    "newhidden(tetrahedron,{4,-1,1,1,1,1,-1,1,-1,1,-1,-1,-1,4,3i,1,2,3,0,1,2,0,2,3,0,3,1})",
    "newhidden(octahedron,{6,0,0,1,-1,0,0,0,-1,0,1,0,0,0,1,0,0,0,-1,8,3i,0,1,2,0,2,3,0,3,4,0,4,1,5,1,2,5,2,3,5,3,4,5,4,"
    "1})",
    "newhidden(cube,{8,-1,1,1,-1,1,-1,1,1,-1,1,1,1,-1,-1,1,-1,-1,-1,1,-1,-1,1,-1,1,6,4i,0,1,2,3,4,5,6,7,1,2,6,5,0,3,7,"
    "4,2,3,7,6,0,1,5,4})",
    "newhidden(icosahedron,{12,-1,0,phi,1,0,phi,phi,-1,0,phi,1,0,0,phi,1,-phi,1,0,-phi,-1,0,0,-phi,1,0,-phi,-1,-1,0,-"
    "phi,1,0,-phi,0,phi,-1,20,3i,0,1,4,0,4,5,0,5,6,0,6,7,0,1,7,1,7,2,1,2,3,1,3,4,5,4,11,3,4,11,6,7,8,2,7,8,9,10,11,9,"
    "11,5,9,5,6,9,6,8,9,10,8,10,8,2,10,2,3,10,3,11})",
    "newhidden(dodecahedron,{20,-1,1,1,-1,-1,1,1,-1,1,1,1,1,-1,1,-1,-1,-1,-1,1,-1,-1,1,1,-1,1-phi,0,phi,phi-1,0,phi,1-"
    "phi,0,-phi,phi-1,0,-phi,-phi,phi-1,0,-phi,1-phi,0,phi,phi-1,0,phi,1-phi,0,0,phi,phi-1,0,phi,1-phi,0,-phi,phi-1,0,"
    "-phi,1-phi,12,5i,0,8,9,3,16,0,8,1,13,12,0,12,4,17,16,2,9,8,1,18,2,9,3,14,15,2,15,6,19,18,5,10,4,12,13,5,10,11,6,"
    "19,5,13,1,18,19,7,11,10,4,17,7,11,6,15,14,7,17,16,3,14})",
};
static_assert(std::size(kStatements) == 36);

}  // namespace

std::span<const std::string_view> startupStatements() { return kStatements; }

void runStartupDefinitions(Engine& engine) {
    ErrorText error(512);
    Eval ev(engine, error);
    FlagScope silence(engine.outputEnabled, 0);
    for (std::string_view statement : kStatements) {
        Expression e = parseInternal(statement);
        Value v;
        try {
            ev.evaluate(Ref{&e, e.root()}, v);
        } catch (const DivisionByZero&) {
            // A start-up definition that fails is skipped, like its message.
        }
    }
}

}  // namespace vx
